#pragma once
// Every dialog has one instance, made the first time it is asked for and kept until the
// application object goes, so a dialog remembers what the user last chose in it.

#include <QCoreApplication>

namespace ui {

template <typename Dialog>
class DialogInstance {
public:
    static Dialog& Get() {
        if (!instance_) {
            instance_ = new Dialog;
            // Widgets must go before the application object does; a post routine runs then.
            qAddPostRoutine(&Destroy);
        }
        return *instance_;
    }

private:
    static void Destroy() {
        delete instance_;
        instance_ = nullptr;
    }
    static inline Dialog* instance_ = nullptr;
};

}  // namespace ui
