// Resource identifiers shared by the resource script and the code.
#pragma once

#define VEMTRA_ICON_ID 1
