#pragma once
#include "platform/VbError.h"

#include <QString>
#include <functional>

// The description of the error `f` raised; empty when it raised none.
inline QString ErrorDe(const std::function<void()>& f)
{
    try {
        f();
    } catch (const VbError& e) {
        return e.description;
    }
    return QString();
}
