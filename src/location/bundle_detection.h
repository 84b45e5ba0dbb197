// Finding the bundle root, telling its layout generation and deriving the
// Apache and MySQL directories; the three browse buttons.
#pragma once

void OnWindowCreated();
void DetectBundleRoot();
void ResolveApacheDir();
void ResolveMySqlDir();
void OnBrowseRootClicked();
void OnBrowseApacheClicked();
void OnBrowseMySqlClicked();
