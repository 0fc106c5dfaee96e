#pragma once
// An event sink for HTTP engine tests: keeps the events in order as short texts, the
// reply body, and runs a test's hook inside the Transfer event.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "inet/http_engine.h"

namespace httptest {

class Recorder : public inet::HttpEngineEvents {
public:
    // "Connected 0 OK", "Header Field=Value", "StartTransfer 1", "Transfer 0 2048",
    // "EndTransfer 1", "Disconnected 0 OK", "Error 302 text". Consecutive Transfer events
    // of the reply are kept as one, with the last total ("Transfer 1 <total>"), since
    // how the body is cut into chunks is up to the network.
    std::vector<std::string> events;
    std::string body;
    std::vector<std::size_t> chunkSizes;
    std::function<void(std::string_view chunk)> onTransfer;

    void Connected(int code, const std::string& text) override { Add("Connected " + Code(code, text)); }
    void Disconnected(int code, const std::string& text) override { Add("Disconnected " + Code(code, text)); }
    void EndTransfer(int direction) override { Add("EndTransfer " + std::to_string(direction)); }
    void Error(int code, const std::string& text) override { Add("Error " + Code(code, text)); }
    void Header(const std::string& field, const std::string& value) override { Add("Header " + field + "=" + value); }
    void StartTransfer(int direction) override { Add("StartTransfer " + std::to_string(direction)); }
    void Transfer(int direction, std::int64_t bytes, std::string_view data) override {
        std::string text = "Transfer " + std::to_string(direction) + " " + std::to_string(bytes);
        if (direction == inet::kDirectionIn) {
            body.append(data);
            chunkSizes.push_back(data.size());
            if (!events.empty() && events.back().starts_with("Transfer 1 "))
                events.back() = text;
            else
                Add(text);
            if (onTransfer) onTransfer(data);
        } else {
            Add(text + (data.empty() ? "" : " with data"));
        }
    }

private:
    static std::string Code(int code, const std::string& text) { return std::to_string(code) + " " + text; }
    void Add(std::string e) { events.push_back(std::move(e)); }
};

}  // namespace httptest
