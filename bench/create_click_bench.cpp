// The Create click in the real main window on the offscreen platform: from the
// click on "Create commands" to the menu standing in the text box and the window
// painted with it. Besides the full menu of examples/profiles.xml, profiles that
// grant a quarter, a half, three quarters and all of the permissions show how
// the time grows with the output's length.

#include "application.h"
#include "file_dialog.h"
#include "main_form.h"
#include "profiles_file.h"
#include "program.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>
#include <iterator>
#include <memory>

namespace tavu::bench {

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kGrowthShares[] = {0.25, 0.5, 0.75, 1.0};

class BenchWindow {
public:
    BenchWindow() {
        form().show();
        if (!QTest::qWaitForWindowExposed(&form())) {
            qFatal("the main window was never shown");
        }
        control<QCheckBox>("OffsetsCheckBox").setChecked(true);
    }

    TMainForm& form() { return program_.windows().mainForm(); }

    template <typename Control>
    Control& control(const char* name) {
        auto* found = form().findChild<Control*>(QLatin1String(name));
        if (found == nullptr) {
            qFatal("the main window has no %s", name);
        }
        return *found;
    }

    void open(const QString& path) {
        FileDialog::setNextFileName(path);
        QTest::mouseClick(&control<QPushButton>("OpenButton"), Qt::LeftButton);
    }

    void choose(int index) {
        auto& combo = control<QComboBox>("ProfileComboBox");
        QTest::keyClick(&combo, Qt::Key_Home);
        for (int i = 0; i < index; ++i) {
            QTest::keyClick(&combo, Qt::Key_Down);
        }
    }

private:
    Program program_;
};

BenchWindow* window = nullptr;
QTemporaryDir* folder = nullptr;

// One Create click, timed by hand: the manual time runs to the window painted,
// "set_ms" only to the text standing in the box.
void measureClicks(benchmark::State& state) {
    auto& memo = window->control<QPlainTextEdit>("CommandsMemo");
    auto& create = window->control<QPushButton>("CreateButton");
    double setSeconds = 0;
    for (auto _ : state) {
        memo.clear();
        window->form().repaint();
        const auto clicked = Clock::now();
        QTest::mouseClick(&create, Qt::LeftButton);
        const auto set = Clock::now();
        window->form().repaint();
        const auto painted = Clock::now();
        if (memo.document()->isEmpty()) {
            state.SkipWithError("the click created nothing");
            return;
        }
        setSeconds += std::chrono::duration<double>(set - clicked).count();
        state.SetIterationTime(std::chrono::duration<double>(painted - clicked).count());
    }
    state.counters["set_ms"] = benchmark::Counter(setSeconds * 1e3, benchmark::Counter::kAvgIterations);
    state.counters["chars"] = static_cast<double>(memo.document()->characterCount());
}

void CreateClickFullMenu(benchmark::State& state) {
    window->open(QStringLiteral(TAVU_SOURCE_DIR "/examples/profiles.xml"));
    window->choose(0);
    measureClicks(state);
}

// Profile i of the growth file grants kGrowthShares[i] of the permissions.
QString growthFile() {
    const QString path = folder->filePath(QStringLiteral("profiles.xml"));
    const std::string bytes = profilesFile({std::begin(kGrowthShares), std::end(kGrowthShares)});
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), static_cast<qint64>(bytes.size())) < 0) {
        qFatal("cannot write %s", qPrintable(path));
    }
    return path;
}

void CreateClickGrowth(benchmark::State& state) {
    window->open(growthFile());
    window->choose(static_cast<int>(state.range(0)));
    measureClicks(state);
}

BENCHMARK(CreateClickFullMenu)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(CreateClickGrowth)->DenseRange(0, 3)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

} // namespace tavu::bench

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QTemporaryDir folder;
    qputenv("TAVU_INI", folder.filePath(QStringLiteral("TAVU.ini")).toLocal8Bit());
    tavu::Application application(argc, argv);
    benchmark::Initialize(&argc, argv);
    {
        tavu::bench::BenchWindow window;
        tavu::bench::window = &window;
        tavu::bench::folder = &folder;
        benchmark::RunSpecifiedBenchmarks();
    }
    benchmark::Shutdown();
    return 0;
}
