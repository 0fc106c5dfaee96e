#include "saver/saver_settings.h"

#include "engine/regconfig.h"
#include "platform/program_dir.h"

namespace saver {

SaverSettings ReadSaverSettings() {
    SaverSettings settings;
    engine::tregconfig store;
    store.ReadConfig(settings.config);
    store.ReadSaverExtra(settings.extra);
    store.ReadSaverExtra1(settings.extra1);
    settings.extra.DataDir.assign(platform::WithTrailingSlash(settings.extra.DataDir.str()));
    return settings;
}

LiveRequest LiveRequestFor(const engine::TWebcamDefRec& rec, const SaverSettings& settings) {
    LiveRequest request;
    request.url = rec.PictureURL.str();
    request.referer = rec.LinkURL.str();
    if (rec.SendLogin != 0) {
        request.user = rec.UserName.str();
        request.password = rec.Password.str();
    }
    if (settings.config.UseProxy != 0 && !settings.config.ProxyHost.empty()) {
        request.proxyHost = settings.config.ProxyHost.str();
        request.proxyPort = settings.config.ProxyPort & 0xFFFF;
        request.proxyUser = settings.extra1.ProxyUser.str();
        request.proxyPassword = settings.extra1.ProxyPassword.str();
    }
    return request;
}

}  // namespace saver
