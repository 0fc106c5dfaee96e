#pragma once
// The product's web site: its root and the fixed paths of the files the program asks it for.
// The root is the home page's address (message 65094) without its closing '/';
// $ORVELLO_SITE_ROOT replaces it, so that tests ask a local server and never the network.

#include <string>

namespace ui {

std::string ProductSiteRoot();
// The version file: root + "/ovlver.txt?".
std::string VersionFileUrl();
// The index of the webcam lists: root + "/wclist24url.txt".
std::string DefaultListIndexUrl();
// The downloads page: root + "/ovldownloads.html".
std::string DownloadPageUrl();

}  // namespace ui
