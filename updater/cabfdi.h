#pragma once
// Unpacking cabinet archives through the system's cabinet library (its FDI functions).
#include <string>

namespace cabfdi {

// Unpacks every file of `cabinet` into `folder` with the folders stored in the cabinet.
// A stored name that would land outside `folder` fails the whole extraction before
// anything is written; a damaged cabinet leaves no half-written file. 0 or -1.
int ExtractCabinet(const std::wstring& cabinet, const std::wstring& folder);

}  // namespace cabfdi
