#include "SearchPrompt.h"

#include <QApplication>
#include <QInputDialog>
#include <QUrl>

#include "hotkeys/ActionNames.h"

namespace brisko::desktop {

std::string SearchUrl(SearchService service, const std::string& term) {
    const QByteArray encoded = QUrl::toPercentEncoding(QString::fromUtf8(term));
    const char* base = service == SearchService::Google ? "https://www.google.com/search?q="
                                                        : "https://www.ebay.com/sch/i.html?_nkw=";
    return std::string(base) + encoded.toStdString();
}

std::optional<SearchService> SearchServiceForFile(const std::string& fileName) {
    if (fileName == action_names::kGoogleSearch)
        return SearchService::Google;
    if (fileName == action_names::kEbaySearch)
        return SearchService::Ebay;
    return std::nullopt;
}

std::optional<std::string> AskSearchTerm(SearchService service) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return std::nullopt;
    QInputDialog dialog;
    dialog.setWindowTitle(service == SearchService::Google ? "Google-Suche" : "EBay-Suche");
    dialog.setLabelText("Suchbegriff:");
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    // Called from a hotkey while another program has the focus: come to the front.
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const std::string term = dialog.textValue().trimmed().toStdString();
    if (term.empty())
        return std::nullopt;
    return term;
}

}  // namespace brisko::desktop
