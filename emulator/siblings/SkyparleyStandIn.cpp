// The relay plugin Skyparley as the emulated server's stand-in: it keeps every queued report with
// the webhook body it would post, instead of posting it.
#include <nlohmann/json.hpp>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <stdexcept>
#include <string>

#include "EmulatedHost.h"
#include "StandIns.h"

namespace {

class Relay final : public RelayStandIn {
 public:
  void Reset() override {
    const std::lock_guard lock(mutex_);
    clock_.clear();
    failing_.clear();
    deliveries_.clear();
    keep_deliveries_ = true;
  }
  void SetClock(std::string text) override {
    const std::lock_guard lock(mutex_);
    clock_ = std::move(text);
  }
  void FailOperation(std::string name) override {
    const std::lock_guard lock(mutex_);
    failing_ = std::move(name);
  }
  std::vector<Delivery> TakeDeliveries() override {
    const std::lock_guard lock(mutex_);
    return std::exchange(deliveries_, {});
  }
  void KeepDeliveries(bool keep) override { keep_deliveries_ = keep; }
  std::uint64_t QueuedPackets() override { return queued_; }

  void Enter(std::string_view call) {
    const std::lock_guard lock(mutex_);
    EnterCall(call, failing_);
  }

  std::string Clock() {
    const std::lock_guard lock(mutex_);
    if (!clock_.empty()) return clock_;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
  }

  void Queue(const Skyparley::DiscordPacket& packet) {
    ++queued_;
    if (!keep_deliveries_) {
      const Skyparley::DiscordPacket copy = packet;
      (void)copy;
      return;
    }
    Delivery delivery{packet, WebhookBody(packet), {}};
    delivery.failure = Failure(delivery.webhook_body);
    const std::lock_guard lock(mutex_);
    deliveries_.push_back(std::move(delivery));
  }

 private:
  // The content goes in as the reporting plugin escaped it, with no shield against mentions,
  // so a report that was not escaped or made inert properly shows, as it would in Discord.
  static std::string WebhookBody(const Skyparley::DiscordPacket& packet) {
    return R"({"username":)" +
           nlohmann::json(packet.BotName)
               .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) +
           R"(,"content":")" + packet.Content + R"("})";
  }

  // What Discord checks of a message, and what a report must be to read as one code block.
  static std::string Failure(const std::string& body) {
    constexpr std::size_t kMessageLimit = 2000;  // UTF-16 code units
    const auto parsed = nlohmann::json::parse(body, nullptr, false);
    if (!parsed.is_object() || !parsed.contains("content") || !parsed.at("content").is_string()) {
      return "the webhook body is not valid JSON";
    }
    const std::string& content = parsed.at("content").get_ref<const std::string&>();
    std::size_t units = 0;
    for (const char c : content) {
      const auto byte = static_cast<unsigned char>(c);
      units += ((byte & 0xC0) != 0x80 ? 1 : 0) + (byte >= 0xF0 ? 1 : 0);
    }
    if (units > kMessageLimit) {
      return "the content is " + std::to_string(units) + " characters, over Discord's " +
             std::to_string(kMessageLimit);
    }
    const std::string fence = "```";
    if (content.size() < 2 * fence.size() || content.rfind(fence, 0) != 0 ||
        content.find(fence, fence.size()) != content.size() - fence.size()) {
      return "the content is not exactly one code block";
    }
    return {};
  }

  std::mutex mutex_;
  std::string clock_;
  std::string failing_;
  std::vector<Delivery> deliveries_;
  std::atomic<bool> keep_deliveries_{true};
  std::atomic<std::uint64_t> queued_{0};
};

Relay& TheRelay() {
  static Relay relay;
  return relay;
}

}  // namespace

namespace Skyparley {

std::string MakeTimeString() {
  TheRelay().Enter("Skyparley::MakeTimeString");
  return TheRelay().Clock();
}

void EscapeString(std::string& text) {
  TheRelay().Enter("Skyparley::EscapeString");
  const auto needs_escape = [](char c) {
    return c == '\\' || c == '"' || static_cast<unsigned char>(c) < 0x20;
  };
  std::string escaped;
  escaped.reserve(text.size() + 16);
  for (auto run = text.begin(); run != text.end();) {
    const auto special = std::find_if(run, text.end(), needs_escape);
    escaped.append(run, special);
    if (special == text.end()) break;
    switch (*special) {
      case '\\':
        escaped += "\\\\";
        break;
      case '"':
        escaped += "\\\"";
        break;
      case '\n':
        escaped += "\\n";
        break;
      case '\r':
        escaped += "\\r";
        break;
      case '\t':
        escaped += "\\t";
        break;
      default: {
        char code[8];
        std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned char>(*special));
        escaped += code;
      }
    }
    run = special + 1;
  }
  text = std::move(escaped);
}

void QueuePacket(const DiscordPacket& packet) {
  TheRelay().Enter("Skyparley::QueuePacket");
  TheRelay().Queue(packet);
}

}  // namespace Skyparley

extern "C" SIBLING_API RelayStandIn* EmulatedSkyparley() {
  return &TheRelay();
}
