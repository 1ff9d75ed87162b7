#include "txlog/clsLog.h"

#include "platform/Database.h"
#include "platform/VbError.h"

clsLog::clsLog()
{
    try {
        m_cn = std::make_shared<Database>();
        m_cn->OpenStreaming();
        m_cn->UseFullSync();
    } catch (const VbError& e) {
        throw VbError(e.number, QStringLiteral("clsLog"), e.description);
    }
    auto generica = std::make_shared<clsTxGenerica>();
    generica->setConeccion(m_cn);
    setTxGenerica(generica);
    auto osde = std::make_shared<clsTxOSDE>();
    osde->setConeccion(m_cn);
    setTxOSDE(osde);
}

clsLog::~clsLog()
{
    disconnect(m_senalOSDE);
    disconnect(m_senalGenerica);
}

void clsLog::setTxOSDE(std::shared_ptr<clsTxOSDE> writer)
{
    disconnect(m_senalOSDE);
    m_TxOSDE = std::move(writer);
    if (m_TxOSDE)
        m_senalOSDE = connect(m_TxOSDE.get(), &clsTxOSDE::RowCount, this, &clsLog::TxOSDE_RowCount);
}

void clsLog::setTxGenerica(std::shared_ptr<clsTxGenerica> writer)
{
    disconnect(m_senalGenerica);
    m_TxGenerica = std::move(writer);
    if (m_TxGenerica)
        m_senalGenerica = connect(m_TxGenerica.get(), &clsTxGenerica::RowCount, this, &clsLog::TxGenerica_RowCount);
}

void clsLog::TxGenerica_RowCount(qint32 MaxRow)
{
    emit RowCount(MaxRow);
}

void clsLog::TxOSDE_RowCount(qint32 MaxRow)
{
    emit RowCount(MaxRow);
}
