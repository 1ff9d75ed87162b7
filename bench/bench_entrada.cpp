// A paste of 100,000 characters, every other one a NUL (a UTF-16 text read as bytes), into the
// medical report's plain text editor and into a rich text editor, with the NUL filter the
// program installs at start: the paste and the blanks put in for the NULs, one undo step. The
// second argument 0 pastes blanks where the NULs were: the paste alone, for comparison.
#include "platform/EntradaSinNulos.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// Every other character a NUL, or a blank in its place (the same paste without the filter's work).
QString Intercalado(int n, bool nulos)
{
    QString t;
    t.reserve(n);
    for (int i = 0; i < n; ++i) t += i % 2 ? QChar(nulos ? 0 : ' ') : QChar(u'a' + i / 2 % 26);
    return t;
}

template <class Caja>
void BM_PegarConNulos(benchmark::State& state)
{
    const QString texto = Intercalado(int(state.range(0)), state.range(1) != 0);
    for (auto _ : state) {
        state.PauseTiming();
        auto caja = std::make_unique<Caja>();
        caja->ensurePolished();
        state.ResumeTiming();
        caja->insertPlainText(texto);
        state.PauseTiming();
        const QString hecho = caja->toPlainText();
        if (hecho.size() != texto.size() || hecho.contains(QChar(0))) state.SkipWithError("NUL left or text lost");
        caja.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}

BENCHMARK_TEMPLATE(BM_PegarConNulos, QPlainTextEdit)->Args({100000, 1})->Args({100000, 0})->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_PegarConNulos, QTextEdit)->Args({100000, 1})->Args({100000, 0})->Iterations(5)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    EntradaSinNulos::Instalar();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
