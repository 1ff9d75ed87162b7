#pragma once
#include <QString>

// The terminal's configuration and its reference lists.
class clsConfig {
public:
    QString Impresora() const { return m_Impresora; }
    void setImpresora(const QString& v) { m_Impresora = v; }

private:
    QString m_Impresora;
};
