// A catalog's search with 50,000 workers: one keystroke filters the rows already read, against
// reading the workers again.
#include "bench_data.h"
#include "comparisons.h"
#include "widgets/search_box.h"

#include <QLineEdit>

#include <benchmark/benchmark.h>

using namespace sdelka;
using namespace sdelka::bench;

namespace {

BenchDatabase& workersTable() {
    return benchDatabase(QStringLiteral("bench_workers"), [](BenchDatabase& b) {
        b.exec(QStringLiteral(
            "insert into accounts_dep.person(fio, s_staffpos_hl) select "
            "(array['Иванов','Петров','Сидоров','Кузнецов','Смирнов'])[1 + g % 5] || g || ' И.И.', "
            "'Сборщик' from generate_series(1, 50000) g"));
    });
}

void reopenWorkers(benchmark::State& state) {
    DataSet& workers = workersTable().dm().Workers;
    for (auto _ : state)
        workers.reopen();
    state.counters["rows"] = workers.recordCount();
}
BENCHMARK(reopenWorkers)->Unit(benchmark::kMillisecond);

void searchKeystroke(benchmark::State& state) {
    DataSet& workers = workersTable().dm().Workers;
    workers.open();
    QLineEdit edit;
    SearchBox search(&edit, workers, QStringLiteral("fio"));
    // Alternating texts, so every keystroke filters anew.
    const QString texts[] = {QStringLiteral("Сидоров1"), QStringLiteral("Сидоров12")};
    int i = 0;
    for (auto _ : state)
        edit.setText(texts[i++ % 2]);
    state.counters["rows"] = workers.recordCount();
}
BENCHMARK(searchKeystroke)->Unit(benchmark::kMillisecond);

AddComparison search{{"workers search, 50,000 workers: a keystroke vs reopening the list",
                      "reopenWorkers", "searchKeystroke", 0.1}};

} // namespace
