// A plain text window for the tests: it writes its whole text to --out on every change and
// appends every function key it receives (with modifiers) to --out.keys.
//   --title T --out FILE [--text INITIAL] [--select-all]
//   [--keep-startup-id]  marks its window with DESKTOP_STARTUP_ID, as GTK applications do
#include <xcb/xcb.h>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QSaveFile>

#include "X11Session.h"

namespace {
class Editor : public QPlainTextEdit {
public:
    explicit Editor(QString out) : out_(std::move(out)) {
        connect(this, &QPlainTextEdit::textChanged, this, [this] { save(); });
    }
    void save() {
        // Without --out nothing is written: a save replaces its target by renaming, which must
        // never happen to a device such as /dev/null.
        if (out_.isEmpty())
            return;
        QSaveFile file(out_);
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.write(toPlainText().toUtf8());
        file.commit();
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() >= Qt::Key_F1 && event->key() <= Qt::Key_F12) {
            QString name;
            if (event->modifiers() & Qt::ShiftModifier)
                name += "Shift+";
            if (event->modifiers() & Qt::ControlModifier)
                name += "Ctrl+";
            name += QString("F%1").arg(event->key() - Qt::Key_F1 + 1);
            if (!out_.isEmpty())
                brisko::testing::AppendLine((out_ + ".keys").toStdString(), name.toStdString());
        }
        QPlainTextEdit::keyPressEvent(event);
    }

private:
    QString out_;
};
}  // namespace

// Qt takes DESKTOP_STARTUP_ID out of the environment and marks only its hidden leader window,
// and only until the first window shows.
void KeepStartupId(QWidget& window, const QByteArray& id) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (id.isEmpty() || !x11 || !x11->connection())
        return;
    xcb_connection_t* c = x11->connection();
    const char* name = "_NET_STARTUP_ID";
    auto* atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, 15, name), nullptr);
    auto* utf8 = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, 11, "UTF8_STRING"), nullptr);
    if (atom && utf8)
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()),
                            atom->atom, utf8->atom, 8, static_cast<std::uint32_t>(id.size()),
                            id.constData());
    xcb_flush(c);
    std::free(atom);
    std::free(utf8);
}

int main(int argc, char** argv) {
    const QByteArray startupId = qgetenv("DESKTOP_STARTUP_ID");
    QApplication app(argc, argv);
    QString title = "Text";
    QString out;
    QString text;
    bool selectAll = false;
    bool keepStartupId = false;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--title" && i + 1 < args.size())
            title = args[++i];
        if (args[i] == "--out" && i + 1 < args.size())
            out = args[++i];
        if (args[i] == "--text" && i + 1 < args.size())
            text = args[++i];
        if (args[i] == "--select-all")
            selectAll = true;
        if (args[i] == "--keep-startup-id")
            keepStartupId = true;
    }
    Editor editor(out);
    editor.setWindowTitle(title);
    editor.setPlainText(text);
    editor.save();
    if (selectAll)
        editor.selectAll();
    editor.resize(400, 300);
    if (keepStartupId)
        KeepStartupId(editor, startupId);
    editor.show();
    editor.activateWindow();
    return app.exec();
}
