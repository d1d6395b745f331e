#include "frame/DeferredMessageList.h"

namespace Zarvo {

bool DeferredMessageList::Append(const WindowMessage& message) {
    for (const WindowMessage& queued : messages_) {
        if (queued.message == Msg::kClose) return false;
    }
    if (message.message == Msg::kTimer && !messages_.empty() &&
        messages_.back().message == Msg::kTimer) {
        return false;
    }
    if (message.message == Msg::kSysColorChange || message.message == Msg::kDisplayChange) {
        for (const WindowMessage& queued : messages_) {
            if (queued.message == Msg::kSysColorChange || queued.message == Msg::kDisplayChange) {
                return false;
            }
        }
    }
    messages_.push_back(message);
    return true;
}

bool DeferredMessageList::TakeFirst(WindowMessage& out) {
    if (messages_.empty()) return false;
    out = messages_.front();
    messages_.pop_front();
    return true;
}

}  // namespace Zarvo
