#pragma once

#include <optional>
#include <string>

namespace brisko::desktop {

/// The web searches that stand in for the search programs of the data directory.
enum class SearchService { Google, Ebay };

/// The results page of the service for the term, the term URL-encoded (UTF-8).
std::string SearchUrl(SearchService service, const std::string& term);

/// The search program a file name stands for ("Google.exe", "EBay.exe"), if any.
std::optional<SearchService> SearchServiceForFile(const std::string& fileName);

/// The title of the prompt that asks for the search term ("Google-Suche", "EBay-Suche").
const char* SearchPromptTitle(SearchService service);
/// Its prompt text.
inline constexpr const char* kSearchPrompt = "Suchbegriff:";

}  // namespace brisko::desktop
