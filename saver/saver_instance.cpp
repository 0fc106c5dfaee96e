#include "saver/saver_instance.h"

#include <cstdio>

namespace saver {

bool NobodyElseHolds(platform::LockFile::Result result, const platform::LockFile& lock) {
    if (result == platform::LockFile::Result::Failed)
        std::fprintf(stderr, "ovlsaver: lock not taken (%s); acting as if another program held it\n",
                     lock.failure().c_str());
    return result == platform::LockFile::Result::Created;
}

SaverInstance::SaverInstance(bool hosted) {
    using Result = platform::LockFile::Result;
    if (hosted) {
        // Shared with the savers of the other screens: only a lock that cannot be taken stops it.
        const Result taken = hosted_.Acquire();
        alone_ = taken == Result::Failed ? NobodyElseHolds(taken, hosted_) : NobodyElseHolds(single_.Probe(), single_);
    } else {
        alone_ = NobodyElseHolds(single_.Acquire(), single_) && NobodyElseHolds(hosted_.Probe(), hosted_);
    }
    if (!alone_) {
        single_.Release();
        hosted_.Release();
    }
}

}  // namespace saver
