// The floors of the program benchmark: a Qt program that does nothing but tick at the
// program's 16 ms period, and with "--window" the bare Qt GUI that Brisko's memory is weighed
// against: a shown main window with a menu bar and eleven combo boxes of 22 entries.
#include <QApplication>
#include <QComboBox>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [] {});
    tick.start(16);
    std::unique_ptr<QMainWindow> window;
    if (argc > 1 && QString::fromLatin1(argv[1]) == QLatin1String("--window")) {
        window = std::make_unique<QMainWindow>();
        for (const char* menu : {"&Datei", "&Bearbeiten", "&Wechseln zu", "&Extras", "&?"})
            window->menuBar()->addMenu(QString::fromUtf8(menu))->addAction("Eintrag");
        auto* page = new QWidget;
        auto* rows = new QVBoxLayout(page);
        for (int n = 1; n <= 11; ++n) {
            auto* list = new QComboBox;
            for (int i = 0; i < 22; ++i)
                list->addItem(QString("Aktion %1").arg(i));
            rows->addWidget(list);
        }
        window->setCentralWidget(page);
        window->resize(687, 492);
        window->show();
    }
    return app.exec();
}
