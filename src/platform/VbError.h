#pragma once
#include <QString>
#include <exception>
#include <string>

// The one run-time error of the program, carrying the number, source and description a
// trapping routine reports or re-raises.
class VbError : public std::exception {
public:
    VbError(qint32 number, QString source, QString description)
        : number(number), source(std::move(source)), description(std::move(description)),
          m_what(QStringLiteral("%1 (%2): %3").arg(number).arg(this->source, this->description).toStdString())
    {
    }
    const char* what() const noexcept override { return m_what.c_str(); }

    qint32 number;
    QString source;
    QString description;

    // The runtime's own errors keep their well-known numbers.
    static constexpr qint32 Overflow = 6;
    static constexpr qint32 TypeMismatch = 13;
    static constexpr qint32 FileNotFound = 53;
    static constexpr qint32 PathFileAccess = 75;
    static constexpr qint32 PathNotFound = 76;

private:
    std::string m_what;
};

// The description a message shows for any failure: a VbError's own, else the text of what().
inline QString DescripcionError(const std::exception& e)
{
    if (const auto* vb = dynamic_cast<const VbError*>(&e)) return vb->description;
    return QString::fromLocal8Bit(e.what());
}
