// Every text the sample editor shows the user, in UTF-16 so that it is right
// whatever the system code page. Each message says what happened and what to
// do, in the terms the guides use.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "host/document_file_win32.h"

namespace vxhost {

inline constexpr wchar_t PROGRAM_NAME[] = L"VX サンプルエディター";
inline constexpr wchar_t UNTITLED[] = L"無題";
inline constexpr wchar_t CONFIRM_DISCARD[] = L"文書は変更されています。保存しますか？";
inline constexpr wchar_t ADD_IN_MISSING[] =
    L"vxhtml.dll を読み込めません。タグウィンドウは使えません。"
    L"vxhtml.dll と vxframe.dll を vxhost.exe と同じフォルダーに置いてください。";
inline constexpr wchar_t SHUTDOWN_BLOCK_REASON[] = L"保存していない文書があります。";
inline constexpr wchar_t USAGE[] =
    L"使い方：\n"
    L"vxhost.exe [--tag-window] [定義ファイル.def | --definition 定義ファイル] [文書]\n"
    L"vxhost.exe --demo 文書 出力フォルダー [定義ファイル.def | --definition 定義ファイル]\n\n"
    L"拡張子が .def のファイルは定義ファイルとして、それ以外のファイルは文書として開きます。"
    L"拡張子が .def でない定義ファイルは --definition ファイル名 で指定してください。"
    L"定義ファイルを指定しないときは、vxhost.exe と同じフォルダーの html5.def を使います。";

// A failed opening or saving; Unsavable and InvalidBytes have their own.
std::wstring DescribeFailure(FileResult result);
std::wstring DescribeUnsavable(const UnsavableCharacter& where, Encoding encoding);
std::wstring DescribeInvalid(const InvalidByte& invalid, Encoding encoding);
// Asked before a save whose <meta charset> names another encoding.
std::wstring DescribeCharsetMismatch(const std::wstring& declared, Encoding encoding);
// A definition file the add-in cannot be given: kept names the one that stays.
std::wstring DescribeDefinitionPathUnusable(const std::wstring& path, unsigned codePage, const std::wstring& kept);
// Told after opening a file whose <meta charset> cannot read it.
std::wstring DescribeCharsetOverruled(const std::wstring& declared, Encoding opened);
std::wstring RecoveryQuestion(const std::wstring& document, const std::wstring& recoveryFile);
std::wstring DamagedRecoveryQuestion(const std::wstring& recoveryFile);
std::wstring RecoveryKept(const std::wstring& recoveryFile);
std::wstring RecoveryUnreadable(const std::wstring& recoveryFile);
std::wstring RecoveryChangedOnDisk(const std::wstring& document);
// The documents whose work the last session's end could keep nowhere.
std::wstring DescribeUnkeptWork(const std::vector<std::wstring>& documents);

}  // namespace vxhost
