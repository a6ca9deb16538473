#include "SearchPrompt.h"

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

const char* SearchPromptTitle(SearchService service) {
    return service == SearchService::Google ? "Google-Suche" : "EBay-Suche";
}

}  // namespace brisko::desktop
