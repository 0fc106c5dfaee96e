#pragma once
// The protocol engines' owned text: up to 100 chars inline (no heap use), longer texts in
// one heap block, always zero-terminated. A store that cannot get memory answers 200:
// a failed Set leaves the text empty, a failed Append leaves the old text.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace inet {

class EngineString {
public:
    static constexpr std::size_t kInline = 100;

    EngineString() { inline_[0] = '\0'; }
    explicit EngineString(std::string_view text) : EngineString() { Set(text); }
    ~EngineString() { delete[] heap_; }
    EngineString(const EngineString&) = delete;
    EngineString& operator=(const EngineString&) = delete;

    int Set(std::string_view text);
    int Append(std::string_view text);
    void Clear() { Set({}); }

    const char* c_str() const { return heap_ ? heap_ : inline_; }
    std::size_t size() const { return length_; }
    bool empty() const { return length_ == 0; }
    std::string_view view() const { return {c_str(), length_}; }
    std::string str() const { return std::string(view()); }
    bool OnHeap() const { return heap_ != nullptr; }

private:
    char inline_[kInline + 1];
    char* heap_ = nullptr;
    std::uint32_t length_ = 0;
};

}  // namespace inet
