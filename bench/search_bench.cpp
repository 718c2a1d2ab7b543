// A catalog's search with 50,000 workers, read once: a keystroke in the program's search box
// against the keystroke as the catalogs handled it before the search box, whose change handler
// set the data set's filter to the typed text and filtered the rows already held. Both filter
// in memory; the line tells whether the search box adds to that.
#include "bench_checks.h"
#include "bench_data.h"
#include "comparisons.h"
#include "widgets/search_box.h"

#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <array>
#include <optional>
#include <string>

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

// Alternating texts, so every keystroke filters anew.
const std::array<QString, 2> Typed{QStringLiteral("Сидоров1"), QStringLiteral("Сидоров12")};

// The workers whose names start with each text, as the server counts them (the names are
// written in the case the texts are typed in).
std::array<int, 2> expectedRows(TDataModule6& dm) {
    std::array<int, 2> counts{};
    for (std::size_t i = 0; i < Typed.size(); ++i)
        counts[i] = dm.readInt(QStringLiteral("select count(*) as cnt from accounts_dep.person "
                                              "where fio like :typed || '%'"),
                               QStringLiteral("cnt"), {{QStringLiteral("typed"), Typed[i]}});
    return counts;
}

// The list read, every row shown, and what each text must leave of it.
struct Workers {
    DataSet& set;
    std::array<int, 2> expected;
};

std::optional<Workers> openWorkers(benchmark::State& state) {
    TDataModule6& dm = workersTable().dm();
    DataSet& workers = dm.Workers;
    workers.setFiltered(false);
    workers.open();
    const std::array<int, 2> expected = expectedRows(dm);
    const bool ok = workers.recordCount() > 0 && expected[0] > 0 && expected[1] > 0 &&
                    expected[0] < workers.recordCount() && expected[1] < workers.recordCount();
    if (!verified(state, ok,
                  "the workers list or the texts searched for do not fit: " +
                      std::to_string(workers.recordCount()) + " workers read"))
        return std::nullopt;
    return Workers{workers, expected};
}

bool rowsAsExpected(benchmark::State& state, const Workers& w, std::size_t text) {
    const int shown = w.set.recordCount();
    if (shown == w.expected[text])
        return true;
    return verified(state, false,
                    QStringLiteral("\"%1\" showed %2 workers of %3")
                        .arg(Typed[text])
                        .arg(shown)
                        .arg(w.expected[text])
                        .toStdString());
}

void filterHeldRows(benchmark::State& state) {
    guarded(state, [&] {
        const auto workers = openWorkers(state);
        if (!workers)
            return;
        DataSet& set = workers->set;
        QLineEdit edit;
        QObject::connect(&edit, &QLineEdit::textChanged, [&set](const QString& typed) {
            set.setFilter([typed](const RowView& row) {
                return row[QStringLiteral("fio")].toString().startsWith(typed, Qt::CaseInsensitive);
            });
            set.setFiltered(true);
        });
        std::size_t i = 0;
        for (auto _ : state) {
            const std::size_t text = i++ % Typed.size();
            edit.setText(Typed[text]);
            if (!rowsAsExpected(state, *workers, text))
                break;
        }
        state.counters["rows"] = set.recordCount();
        set.setFiltered(false);
    });
}
BENCHMARK(filterHeldRows)->Unit(benchmark::kMillisecond);

void searchKeystroke(benchmark::State& state) {
    guarded(state, [&] {
        const auto workers = openWorkers(state);
        if (!workers)
            return;
        DataSet& set = workers->set;
        {
            QLineEdit edit;
            SearchBox search(&edit, set, QStringLiteral("fio"));
            std::size_t i = 0;
            for (auto _ : state) {
                const std::size_t text = i++ % Typed.size();
                edit.setText(Typed[text]);
                if (!rowsAsExpected(state, *workers, text))
                    break;
            }
            state.counters["rows"] = set.recordCount();
        }
        set.setFiltered(false);
    });
}
BENCHMARK(searchKeystroke)->Unit(benchmark::kMillisecond);

AddComparison search{{"workers search, 50,000 workers held: a keystroke in the search box vs "
                      "the data set's filter set by hand",
                      "filterHeldRows", "searchKeystroke", 1.5}};

} // namespace
