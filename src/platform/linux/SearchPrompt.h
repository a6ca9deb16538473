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

/// Asks for a search term in a small modal prompt; none when cancelled, left empty, or when
/// the program has no widgets.
std::optional<std::string> AskSearchTerm(SearchService service);

}  // namespace brisko::desktop
