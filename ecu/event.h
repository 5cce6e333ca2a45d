#pragma once

#include <functional>
#include <utility>

// One change event of the link: at most one subscriber, a handler bound to an object.
// An empty event is not raised.
template <typename... Args> class Event {
public:
    template <class Object, class Method> void bind(Object* object, Method method) {
        handler_ = [object, method](Args... args) { (object->*method)(args...); };
    }
    template <class Callable> void bind(Callable&& callable) { handler_ = std::forward<Callable>(callable); }
    void clear() { handler_ = nullptr; }
    bool bound() const { return static_cast<bool>(handler_); }
    void raise(Args... args) const {
        if (handler_)
            handler_(args...);
    }

private:
    std::function<void(Args...)> handler_;
};
