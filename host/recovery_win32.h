// The copy of unsaved work that the sample editor writes when the session
// ends without its changes saved, and offers back at the next start. The file
// says which document it belongs to; a pending one is remembered under
// HKEY_CURRENT_USER, so that the next start finds it wherever it was written.
#pragma once
#include <windows.h>

#include <string>

#include "host/document_file_win32.h"

namespace vxhost {

struct Recovery {
  std::wstring document;  // the document's path; empty for an untitled one
  Encoding encoding = Encoding::Utf8;
  bool byteOrderMark = false;
  std::wstring text;
};

enum class RecoveryRead { Ok, Damaged, Missing };

inline constexpr wchar_t RECOVERY_KEY[] = L"Software\\VX\\vxhost";
inline constexpr wchar_t PENDING_RECOVERY_VALUE[] = L"PendingRecovery";

// Beside the document as "<name>.vxrecovery"; for an untitled document in
// the user's application data folder.
std::wstring RecoveryFileFor(const std::wstring& document);
// Writes the file whole (or not at all) and records it as pending; false
// when either failed.
bool WriteRecovery(const std::wstring& file, const Recovery& recovery);
// Damaged: the file is there but not as written; raw then holds its bytes
// read as UTF-8 as far as they go, for the user to look at.
RecoveryRead ReadRecovery(const std::wstring& file, Recovery& recovery, std::wstring& raw);
// The recovery file the last session left, empty when none.
std::wstring PendingRecovery();
void ForgetPendingRecovery();

}  // namespace vxhost
