#include "ui/web/product_site.h"

#include "engine/messages.h"

#include <cstdlib>

namespace ui {

std::string ProductSiteRoot() {
    const char* override = std::getenv("ORVELLO_SITE_ROOT");
    std::string root = override && *override ? override : engine::LoadMessage(65094);
    while (!root.empty() && root.back() == '/') root.pop_back();
    return root;
}

std::string VersionFileUrl() { return ProductSiteRoot() + "/ovlver.txt?"; }

std::string DefaultListIndexUrl() { return ProductSiteRoot() + "/wclist24url.txt"; }

std::string DownloadPageUrl() { return ProductSiteRoot() + "/ovldownloads.html"; }

}  // namespace ui
