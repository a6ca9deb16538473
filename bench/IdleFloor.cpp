// The floor of the idle benchmark: a Qt program that does nothing but tick at the program's
// 16 ms period.
#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [] {});
    tick.start(16);
    return app.exec();
}
