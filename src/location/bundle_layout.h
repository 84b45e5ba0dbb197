// The two layouts of the Vemtra bundle and the names the flows share.
#pragma once

// Layout generation markers.
inline constexpr const char* kGenerationBefore8 = "8.0前";
inline constexpr const char* kGenerationFrom8 = "8.0后";

// Marker folders directly under the root, and the layout subfolders joined
// into every derived path (separator on both sides).
inline constexpr const char* kMarkerBefore8 = "\\DIRAvizaver";
inline constexpr const char* kMarkerFrom8 = "\\Extensions";
inline constexpr const char* kSubdirBefore8 = "\\DIRAvizaver\\";
inline constexpr const char* kSubdirFrom8 = "\\Extensions\\";

// Service key names.
inline constexpr const char* kApacheServiceName = "Apache2.4";
inline constexpr const char* kMySqlServiceName = "MySQL";

// Indexes of the generation list.
inline constexpr int kGenerationFrom8Index = 0;
inline constexpr int kGenerationBefore8Index = 1;
