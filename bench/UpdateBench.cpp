// Resident memory of the update check: before the first check (no network objects exist),
// after it (Qt Network's manager, its threads and buffers), and after nine more. The floor is
// the growth of a second check: what one more check costs once the manager exists.
#include <unistd.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "FakeSettingsStore.h"
#include "FakeUrlOpener.h"
#include "FakeUserPrompts.h"
#include "LocalHttpServer.h"
#include "ProcessStats.h"
#include "dialogs/UpdateDialog.h"

namespace {

bool Check(brisko::UpdateDialog& dialog) {
    bool done = false;
    const auto connection =
        QObject::connect(&dialog, &brisko::UpdateDialog::checkFinished, [&done] { done = true; });
    dialog.check();
    QDeadlineTimer deadline(10000);
    while (!done && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QObject::disconnect(connection);
    return done;
}

// Lets the allocator and Qt settle before a reading.
long long SettledKb() {
    QDeadlineTimer settle(300);
    while (!settle.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return brisko::bench::ResidentKb(::getpid());
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    brisko::testing::LocalHttpServer server;
    server.answer("/version.nfo", "Brisko 9.9\r\n");
    QTemporaryDir cache;
    brisko::testing::FakeSettingsStore store;
    brisko::testing::FakeUserPrompts prompts;
    brisko::testing::FakeUrlOpener opener;
    brisko::UpdateDialog dialog(store, prompts, opener,
                                {server.site(), cache.path() + "/brisko/version.nfo",
                                 BRISKO_BENCH_DATA_DIR, BRISKO_HTTP_MODULE});
    dialog.show();

    const long long before = SettledKb();
    if (!Check(dialog)) {
        std::fprintf(stderr, "bench_update: the first check did not finish\n");
        return 1;
    }
    const long long first = SettledKb();
    if (!Check(dialog))
        return 1;
    const long long second = SettledKb();
    for (int i = 0; i < 8; ++i)
        Check(dialog);
    const long long tenth = SettledKb();
    std::printf("update check, resident memory (kB)\n");
    std::printf("  before the first check          %8lld\n", before);
    std::printf("  after the first check           %8lld  (+%lld: the http module and Qt Network loaded)\n", first,
                first - before);
    std::printf("  after the second check          %8lld  (+%lld: floor, one more check)\n", second,
                second - first);
    std::printf("  after ten checks                %8lld  (+%lld over the first)\n", tenth,
                tenth - first);
    return 0;
}
