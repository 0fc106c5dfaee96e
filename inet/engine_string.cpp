#include "inet/engine_string.h"

#include <cstring>
#include <new>

#include "inet/engine_errors.h"

namespace inet {

namespace {

// memmove that accepts the null data of an empty view.
void CopyBytes(char* to, const char* from, std::size_t n) {
    if (n > 0) std::memmove(to, from, n);
}

}  // namespace

int EngineString::Set(std::string_view text) {
    if (text.size() <= kInline) {
        CopyBytes(inline_, text.data(), text.size());  // text may lie inside this string
        inline_[text.size()] = '\0';
        delete[] heap_;
        heap_ = nullptr;
        length_ = static_cast<std::uint32_t>(text.size());
        return 0;
    }
    char* block = new (std::nothrow) char[text.size() + 1];
    if (!block) {
        delete[] heap_;
        heap_ = nullptr;
        inline_[0] = '\0';
        length_ = 0;
        return kErrOutOfMemory;
    }
    CopyBytes(block, text.data(), text.size());
    block[text.size()] = '\0';
    delete[] heap_;
    heap_ = block;
    inline_[0] = '\0';
    length_ = static_cast<std::uint32_t>(text.size());
    return 0;
}

int EngineString::Append(std::string_view text) {
    std::size_t total = length_ + text.size();
    if (total <= kInline) {
        CopyBytes(inline_ + length_, text.data(), text.size());
        inline_[total] = '\0';
        length_ = static_cast<std::uint32_t>(total);
        return 0;
    }
    char* block = new (std::nothrow) char[total + 1];
    if (!block) return kErrOutOfMemory;
    CopyBytes(block, c_str(), length_);
    CopyBytes(block + length_, text.data(), text.size());
    block[total] = '\0';
    delete[] heap_;
    heap_ = block;
    inline_[0] = '\0';
    length_ = static_cast<std::uint32_t>(total);
    return 0;
}

}  // namespace inet
