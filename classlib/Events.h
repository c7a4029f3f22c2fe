#pragma once
// Method references: std::function based events that can be read, stored,
// replaced and chained at run time, and bound by name from a window description.
#include <functional>
#include <utility>

namespace ClassLib {

class TObject;

using TNotifyEvent = std::function<void(TObject* sender)>;

// Calls an event when it is assigned.
template <class TEvent, class... TArgs>
void FireEvent(const TEvent& event, TArgs&&... args) {
    if (event) event(std::forward<TArgs>(args)...);
}

// An event that first calls `first`, then `second` (either may be empty): how a
// component puts itself in front of a handler the window had already set.
template <class... TArgs>
std::function<void(TArgs...)> ChainEvents(std::function<void(TArgs...)> first, std::function<void(TArgs...)> second) {
    if (!first) return second;
    if (!second) return first;
    return [first = std::move(first), second = std::move(second)](TArgs... args) {
        first(args...);
        second(args...);
    };
}

// Binds a member function of an object as an event handler: Bind(this, &TMainForm::ButtonClick).
template <class TClass, class TResult, class... TArgs>
std::function<TResult(TArgs...)> Bind(TClass* object, TResult (TClass::*method)(TArgs...)) {
    return [object, method](TArgs... args) -> TResult { return (object->*method)(std::forward<TArgs>(args)...); };
}

}  // namespace ClassLib
