#pragma once
#include <cstddef>
#include <deque>

#include "platform/WindowMessage.h"

namespace Zarvo {

// Window messages waiting, in arrival order, to be replayed into the widget tree between logic
// updates. Appending applies the queueing rules: nothing is queued after a close; a timer right
// behind a queued timer is dropped; a colour or display change is dropped while either of the
// two is already waiting.
class DeferredMessageList {
public:
    // Answers whether the message was queued.
    bool Append(const WindowMessage& message);
    // Takes the first message; false when the list is empty.
    bool TakeFirst(WindowMessage& out);
    bool Empty() const { return messages_.empty(); }
    size_t Size() const { return messages_.size(); }
    const WindowMessage& At(size_t i) const { return messages_[i]; }
    void Clear() { messages_.clear(); }

private:
    std::deque<WindowMessage> messages_;
};

}  // namespace Zarvo
