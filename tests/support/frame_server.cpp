#include "support/frame_server.h"

#include <vector>

namespace rovanel::support {

FrameServer::FrameServer(ScriptedDriver& driver) : state_(std::make_shared<State>()) {
  driver.OnWrite = [s = state_](std::uint8_t b) -> std::vector<std::uint8_t> {
    switch (s->expect) {
      case 0:
        if (b != 0xF0) return {};
        s->expect = 1;
        return {0xF0};
      case 1: {
        if (b == 0x06 && ++s->requests == s->silent) {
          s->expect = 0;
          return {};
        }
        std::vector<std::uint8_t> reply{b};
        s->expect = 4;
        if (b == 0x00) {
          reply.push_back(0x48);
          reply.push_back(0x20);
        } else if (b == 0x04) {
          s->expect = 2;
        } else if (b == 0x06) {
          if (!s->frames.empty()) {
            s->last = s->frames.front();
            s->frames.pop_front();
          }
          ++s->served;
          reply.insert(reply.end(), 39, 0xFF);
          for (std::uint8_t level : s->last)
            reply.push_back(static_cast<std::uint8_t>(255 - level));
          reply.insert(reply.end(), 13, 0xFF);
        } else {
          s->expect = 0;
        }
        return reply;
      }
      case 2:
        s->expect = 3;
        return {};
      case 3:
        s->expect = 4;
        return {};
      default:
        if (b == 0x0F) {
          s->expect = 0;
          return {0x0F};
        }
        if (b == 0xF0) {  // a new command abandons the one awaiting its ack
          s->expect = 1;
          return {0xF0};
        }
        return {};
    }
  };
}

void FrameServer::Push(const Levels& light) {
  state_->frames.push_back(light);
}

void FrameServer::PushFlat(std::uint8_t level) {
  Levels l;
  l.fill(level);
  Push(l);
}

}  // namespace rovanel::support
