#pragma once
// Unpacking cabinet archives through the system's cabinet library (its FDI functions).
#include <string>

namespace cabfdi {

// Unpacks every file of `cabinet` into `folder` with the folders stored in the cabinet.
// A stored name that would land outside `folder`, or sizes that declare more than the
// cabinet may expand to (WUpdate::ExpansionLimit), fail the whole extraction before
// anything is written; the files go into place together, so a damaged cabinet leaves the
// folder as it was. 0 or -1.
int ExtractCabinet(const std::wstring& cabinet, const std::wstring& folder);

}  // namespace cabfdi
