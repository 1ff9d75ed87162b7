#include "reports/clsMultiselec.h"

#include "platform/Dialogs.h"
#include "platform/Vb.h"
#include "txlog/clsLog.h"

clsMultiselec::clsMultiselec() : m_Log(std::make_shared<clsLog>()) {}

clsMultiselec::~clsMultiselec() = default;

void clsMultiselec::CargarDisponibles(frmMultiselect& form)
{
    form.setWindowTitle(QStringLiteral("Selección de ") + sTitulo);
    form.PrepararListas();
    rs_Seleccionados = m_Log->TxGenerica()->Resolver_sql(sql_Disponibles);
    for (; !rs_Seleccionados.EOF_(); rs_Seleccionados.MoveNext())
        form.AgregarDisponible({Vb::CStr(rs_Seleccionados.value(int_CampoClave)),
                                Vb::CStr(rs_Seleccionados.value(int_CampoDetalle))});
}

QList<frmMultiselect::Item> clsMultiselec::Seleccionar()
{
    // A fresh dialog each time: its lists start with this query's rows only.
    frmMultiselect form;
    CargarDisponibles(form);
    Dialogs::ExecModal(&form);
    return frmMultiselect::Items(form.lvwSeleccionados);
}
