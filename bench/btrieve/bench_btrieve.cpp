// Walking the ERP project file in project-number order, as the search dialog fills its list:
// Get First and Get Next through the ERP layer over 100,000 records of the ERP layout.

#include "ErpDemoDaten.h"
#include "IniRecord.h"
#include "MasterDatei.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <utime.h>

namespace {

constexpr int Anzahl = 100000;

// The file is written once per run. Its time stamp is set an hour back: an ERP file is read long
// after it was last written, and a file written this very second makes the engine check its
// control record on every call.
const QString& erpOrdner(bool frisch)
{
    static QTemporaryDir ordner;
    static bool geschrieben = false;
    if (!geschrieben) {
        btrieveschreiber::Schreiber s = erpdemo::erpSchreiber();
        for (int i = 0; i < Anzahl; ++i)
            s.satz(erpdemo::massenProjekt(i));
        std::string fehler;
        if (!s.schreiben(QFile::encodeName(ordner.filePath(QStringLiteral("ZT_FKT_1.DAT"))).toStdString(), fehler))
            qFatal("%s", fehler.c_str());
        geschrieben = true;
    }
    const QByteArray pfad = QFile::encodeName(ordner.filePath(QStringLiteral("ZT_FKT_1.DAT")));
    struct utimbuf zeit {};
    zeit.actime = zeit.modtime = frisch ? time(nullptr) : time(nullptr) - 3600;
    utime(pfad.constData(), &zeit);
    static QString pfadText;
    pfadText = ordner.path();
    return pfadText;
}

void walk(benchmark::State& state, bool frisch)
{
    IniRecord.MasterVerzeichnis = erpOrdner(frisch);
    int64_t saetze = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (MasterDateiOeffnen() != 0)
            state.SkipWithError("Datei nicht geöffnet");
        state.ResumeTiming();
        int n = 0;
        for (int16_t st = MasterErsterSatz(6); st == 0; st = MasterNaechsterSatz())
            ++n;
        state.PauseTiming();
        if (n != Anzahl)
            state.SkipWithError("falsche Satzzahl");
        MasterDateiSchliessen();
        BtrieveBeenden();
        saetze += n;
        state.ResumeTiming();
    }
    state.counters["Saetze/s"] = benchmark::Counter(double(saetze), benchmark::Counter::kIsRate);
}

void ErsterUndNaechsterSatz(benchmark::State& state) { walk(state, false); }
void ErsterUndNaechsterSatzFrischGeschrieben(benchmark::State& state) { walk(state, true); }

} // namespace

BENCHMARK(ErsterUndNaechsterSatz)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(ErsterUndNaechsterSatzFrischGeschrieben)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
