#pragma once

#include "storage/fb/Engine.h"

#include <firebird/Interface.h>

namespace plavex::fb {

// A throwing status vector that gives its storage back when it goes out of scope.
class Status : public Firebird::ThrowStatusWrapper {
public:
    Status() : Firebird::ThrowStatusWrapper(Engine::master()->getStatus()) {}
    ~Status() { dispose(); }
    Status(const Status &) = delete;
    Status &operator=(const Status &) = delete;
};

} // namespace plavex::fb
