#include "inet/engine_string.h"

#include <cstring>
#include <new>

#include "inet/engine_errors.h"

namespace inet {

int EngineString::Set(std::string_view text) {
    if (text.size() <= kInline) {
        std::memmove(inline_, text.data(), text.size());  // text may lie inside this string
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
    std::memcpy(block, text.data(), text.size());
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
        std::memmove(inline_ + length_, text.data(), text.size());
        inline_[total] = '\0';
        length_ = static_cast<std::uint32_t>(total);
        return 0;
    }
    char* block = new (std::nothrow) char[total + 1];
    if (!block) return kErrOutOfMemory;
    std::memcpy(block, c_str(), length_);
    std::memcpy(block + length_, text.data(), text.size());
    block[total] = '\0';
    delete[] heap_;
    heap_ = block;
    inline_[0] = '\0';
    length_ = static_cast<std::uint32_t>(total);
    return 0;
}

}  // namespace inet
