#include "prescription/GeneralVademecum.h"

#include "config/GeneralObrasSociales.h"
#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsObraSocial.h"
#include "engine/General.h"
#include "platform/Vb.h"

namespace General {

namespace {

// Takes the next `ancho` characters of a line, blank-padded when the line is shorter.
QString Tomar(QString& linea, int ancho)
{
    QString campo = linea.left(ancho);
    if (campo.size() < ancho) campo += QString(ancho - campo.size(), QLatin1Char(' '));
    linea.remove(0, qMin(ancho, linea.size()));
    return campo;
}

}

bool DesarmarRegistroVademecum(QString& texto, RegistroVademecum& registro)
{
    // Only the first line is looked at: the rest of a long answer is not split again per line.
    QString linea;
    int inicio = 0;
    while (inicio < texto.size() && linea.isEmpty()) {
        int fin = inicio;
        while (fin < texto.size() && texto.at(fin) != QLatin1Char('\r') && texto.at(fin) != QLatin1Char('\n')) ++fin;
        linea = texto.mid(inicio, fin - inicio);
        if (Vb::Trim(linea).isEmpty()) linea.clear();
        // CR LF, CR or LF ends the line.
        if (fin < texto.size() && texto.at(fin) == QLatin1Char('\r') && fin + 1 < texto.size() &&
            texto.at(fin + 1) == QLatin1Char('\n'))
            ++fin;
        inicio = fin + 1;
    }
    texto.remove(0, qMin(inicio, texto.size()));
    if (linea.isEmpty()) {
        registro = RegistroVademecum{};
        return false;
    }
    linea = linea.left(kLargoLineaVademecum);
    RegistroVademecum r;
    r.Codigo = Tomar(linea, 5);
    r.Nombre = Tomar(linea, 30);
    r.Presentacion = Tomar(linea, 24);
    r.Troquel = Tomar(linea, 7);
    r.CodigoBarra = Tomar(linea, 13);
    r.CodigoAccion = Tomar(linea, 5);
    r.Accion = Tomar(linea, 35);
    r.CodigoDroga = Tomar(linea, 6);
    r.Monodroga = Tomar(linea, 40);
    r.Precio = ImporteVademecum(Tomar(linea, 11), 10, 11);
    r.Cobertura = ImporteVademecum(Tomar(linea, 5), 100, 5);
    r.APagar = ImporteVademecum(Tomar(linea, 11), 10, 11);
    r.FinDeLinea = QStringLiteral("\r\n");
    registro = r;
    return true;
}

QString ImporteVademecum(const QString& digitos, double divisor, int ancho, const QLocale& locale)
{
    QString t = Vb::Str(Vb::Val(digitos) / divisor);
    t.replace(QLatin1Char('.'), locale.decimalPoint());
    return t.leftJustified(ancho, QLatin1Char(' '), true);
}

bool ValidarCSC(const QString& texto) { return texto.isEmpty() || texto.size() == 3; }

std::optional<QString> LicenciaDeEnvio(const QString& licenciaPrestador)
{
    if (!Vb::Trim(licenciaPrestador).isEmpty()) return licenciaPrestador;
    if (!LicenciaSeleccionada.isEmpty()) return LicenciaSeleccionada;
    if (Licencias.size() > 1) return std::nullopt;
    return QString();
}

std::shared_ptr<clsObraSocial> ObraSocialElegida()
{
    return gConfig ? BuscarObraSocial(gConfig->DefaultOS(), gConfig->DefaultActividad()) : nullptr;
}

}
