#pragma once
#include "txlog/clsTxGenerica.h"
#include "txlog/clsTxOSDE.h"

#include <QObject>
#include <memory>

class Database;

// One connection to the log tables, shared by the request log's writer (TxOSDE) and the
// off-line log's writer (TxGenerica); it closes with its last holder. Creating one opens the
// connection (every commit reaching the disk); a failure is raised with the source "clsLog".
// RowCount relays the progress of either writer's export.
class clsLog : public QObject {
    Q_OBJECT
public:
    clsLog();
    ~clsLog() override;

    std::shared_ptr<clsTxOSDE> TxOSDE() const { return m_TxOSDE; }
    void setTxOSDE(std::shared_ptr<clsTxOSDE> writer);
    std::shared_ptr<clsTxGenerica> TxGenerica() const { return m_TxGenerica; }
    void setTxGenerica(std::shared_ptr<clsTxGenerica> writer);

    void TxGenerica_RowCount(qint32 MaxRow);
    void TxOSDE_RowCount(qint32 MaxRow);

signals:
    void RowCount(qint32 MaxRow);

private:
    std::shared_ptr<Database> m_cn;
    std::shared_ptr<clsTxOSDE> m_TxOSDE;
    std::shared_ptr<clsTxGenerica> m_TxGenerica;
    QMetaObject::Connection m_senalOSDE;
    QMetaObject::Connection m_senalGenerica;
};
