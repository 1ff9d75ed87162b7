#pragma once
#include "platform/VbError.h"

#include <QString>
#include <exception>

// What a trapping handler shows of a failure: a run-time error's description, else the text
// the exception carries.
inline QString DescripcionError(const std::exception& e)
{
    if (const auto* vb = dynamic_cast<const VbError*>(&e)) return vb->description;
    return QString::fromLocal8Bit(e.what());
}
