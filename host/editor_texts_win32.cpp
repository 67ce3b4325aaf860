#include "host/editor_texts_win32.h"

#include <cwchar>

namespace vxhost {
namespace {

std::wstring Format(const wchar_t* format, ...) {
  wchar_t text[1024];
  va_list arguments;
  va_start(arguments, format);
  const int length = std::vswprintf(text, sizeof text / sizeof text[0], format, arguments);
  va_end(arguments);
  return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

unsigned long CodePoint(const std::wstring& character) {
  const wchar_t* c = character.c_str();
  if (character.size() == 2) return 0x10000ul + ((c[0] - 0xD800ul) << 10) + (c[1] - 0xDC00ul);
  return character.empty() ? 0ul : static_cast<unsigned long>(c[0]);
}

}  // namespace

std::wstring DescribeFailure(FileResult result) {
  switch (result) {
    case FileResult::Ok: return L"";
    case FileResult::CannotOpen:
      return L"ファイルを開けません。ファイルがあるか、ほかのプログラムが使っていないかを確かめてください。";
    case FileResult::TooLarge:
      return Format(L"ファイルが大きすぎます。扱える文書は %u MB までです。",
                    static_cast<unsigned>(MAX_DOCUMENT_BYTES / (1024 * 1024)));
    case FileResult::NotText:
      return L"NUL 文字を含むため、テキストの文書として開けません。文書は開いていません。";
    case FileResult::InvalidBytes:
      return L"文書の文字として読めないバイトがあります。文書は開いていません。";
    case FileResult::ReadFailed: return L"ファイルを読み込めませんでした。文書は開いていません。";
    case FileResult::WriteFailed:
      return L"ファイルに書き込めませんでした。元のファイルはそのままです。保存先を確かめて、もう一度保存してください。";
    case FileResult::FolderNotWritable:
      return L"保存先のフォルダーに新しいファイルを作れません。書き込めるフォルダーを選んでください。文書は保存していません。";
    case FileResult::EditUnreadable: return L"編集中の文書を読み取れませんでした。文書は保存していません。";
    case FileResult::Unsavable: return L"保存できない文字があります。文書は保存していません。";
    case FileResult::DeviceName:
      return L"ファイル名が Windows の装置の名前（CON、PRN、AUX、NUL、COM1～COM9、LPT1～LPT9）です。"
             L"装置は文書として開くことも保存することもできません。別の名前のファイルを選んでください。";
    case FileResult::PathTooLong:
      return L"ファイルのパスが長すぎて、Windows が受け付けません。"
             L"フォルダーやファイルの名前を短くしてください（一つの名前は 255 文字までです）。";
  }
  return L"";
}

std::wstring DescribeUnsavable(const UnsavableCharacter& where, Encoding encoding) {
  const std::wstring advice = encoding == Encoding::ShiftJis
                                  ? L"この文字を消すか置き換えてから保存してください。"
                                    L"［名前を付けて保存］で UTF-8 を選ぶと、この文字のまま保存できます。"
                                  : L"この文字を消すか置き換えてから保存してください。";
  return Format(L"%lu 行目の文字「", static_cast<unsigned long>(where.line)) + where.character +
         Format(L"」（U+%04lX）は %ls で保存できません。", CodePoint(where.character), EncodingName(encoding)) +
         advice + L"文書は保存していません。";
}

std::wstring DescribeInvalid(const InvalidByte& invalid, Encoding encoding) {
  return Format(L"%lu 行目の %lu バイト目（0x%02X）は %ls の文字として読めません。文書は開いていません。"
                L"ファイルが %ls で書かれているかを確かめてください。",
                static_cast<unsigned long>(invalid.line), static_cast<unsigned long>(invalid.column),
                static_cast<unsigned>(invalid.value), EncodingName(encoding), EncodingName(encoding));
}

std::wstring DescribeCharsetMismatch(const std::wstring& declared, Encoding encoding) {
  return L"文書の <meta charset> は「" + declared + L"」ですが、文書は " + EncodingName(encoding) +
         L" で保存されます。ブラウザーでは文字化けするおそれがあります。"
         L"このまま保存しますか？［いいえ］を選ぶと保存しません。";
}

std::wstring DescribeDefinitionPathUnusable(const std::wstring& path, unsigned codePage, const std::wstring& kept) {
  return L"定義ファイルのパスに、この Windows の文字コード（コードページ " + std::to_wstring(codePage) +
         L"）で表せない文字があり、短い名前（8.3 形式）もないため、アドインに渡せません：\n" + path +
         L"\n\n定義ファイルは前のまま（" + (kept.empty() ? std::wstring(L"なし") : kept) +
         L"）です。英数字だけの名前のフォルダーに置いてから、もう一度選んでください。";
}

std::wstring DescribeCharsetOverruled(const std::wstring& declared, Encoding opened) {
  return L"文書の <meta charset> は「" + declared + L"」ですが、その文字コードでは読めないため、" +
         EncodingName(opened) + L" で開きました。保存も " + EncodingName(opened) +
         L" になります。<meta charset> を確かめてください。";
}

std::wstring RecoveryQuestion(const std::wstring& document, const std::wstring& recoveryFile) {
  return L"前回、保存されないまま終わった文書があります：\n" + document + L"\n（復元用のファイル：" + recoveryFile +
         L"）\n\nその内容を復元しますか？［いいえ］を選ぶと、復元用のファイルはそのまま残ります。";
}

std::wstring DamagedRecoveryQuestion(const std::wstring& recoveryFile) {
  return L"前回、保存されないまま終わった文書の復元用のファイルが壊れています：\n" + recoveryFile +
         L"\n\n中身をそのまま無題の文書として開きますか？元の文書は変わりません。内容を確かめてから保存してください。";
}

std::wstring RecoveryKept(const std::wstring& recoveryFile) {
  return L"復元用のファイルは次の場所に残してあります：\n" + recoveryFile;
}

std::wstring RecoveryUnreadable(const std::wstring& recoveryFile) {
  return L"前回、保存されないまま終わった文書の復元用のファイルを読み込めません：\n" + recoveryFile +
         L"\n\nファイルはそのまま残してあります。ほかのプログラムが使っていないかを確かめてください。";
}

std::wstring RecoveryChangedOnDisk(const std::wstring& document) {
  return L"次の文書は、前回の終了の後でファイルの内容が変わっています：\n" + document +
         L"\n\n復元した内容は無題の文書として開きます。元のファイルはそのままです。"
         L"内容を比べてから、保存先を選んでください。";
}

std::wstring DescribeUnkeptWork(const std::vector<std::wstring>& documents) {
  std::wstring list;
  for (const std::wstring& document : documents) list += L"\n" + (document.empty() ? std::wstring(UNTITLED) : document);
  return L"前回の終了のとき、次の文書の保存していない変更を復元用のファイルに書き込めませんでした："  + list +
         L"\n\n文書のフォルダーにもアプリケーションデータのフォルダーにも書き込めませんでした。"
         L"その変更は復元できません。";
}

}  // namespace vxhost
