// What the palette says to the user: its name, its usage, its menu and its
// notices. Wide, so that they show right whatever the system code page.
#pragma once
#include <windows.h>

namespace vxpalette {

inline constexpr wchar_t PROGRAM_NAME[] = L"VX タグパレット";

inline constexpr wchar_t USAGE[] =
    L"使い方：vxpalette.exe [--definition 定義ファイル] [--method auto|message|keys|clipboard] [--hotkey キー]\r\n"
    L"\r\n"
    L"--definition：タグウィンドウに読み込む定義ファイル（既定は vxpalette.exe と同じフォルダーの html5.def）\r\n"
    L"--method：挿入のしかた。auto（既定）は編集欄にはメッセージで、ほかの欄には短いテキストをキー入力で、"
    L"長いテキストをクリップボードで挿入します。message、keys、clipboard はいつもその方法を使います。\r\n"
    L"--hotkey：タグウィンドウを呼び出すキー（既定は Ctrl+Alt+H）。Ctrl、Alt、Shift、Win と "
    L"A～Z、0～9、F1～F24、Space を + でつなぎます。Ctrl、Alt、Win のどれかが必要です。\r\n"
    L"--help：この説明を表示します。";

// %s: the file the program looked for.
inline constexpr wchar_t MISSING_ADDIN[] =
    L"アドイン vxhtml.dll を読み込めません：%s\r\nvxpalette.exe と同じフォルダーに vxhtml.dll と vxframe.dll を置いてください。";
inline constexpr wchar_t NO_ANSWER_FROM_RUNNING[] =
    L"VX タグパレットはすでに起動していますが、応答がありません。タスク マネージャーで vxpalette.exe を確かめてください。";
// %s: the hotkey.
inline constexpr wchar_t HOTKEY_TAKEN[] =
    L"ホットキー %s はほかのプログラムが使っています。通知領域のアイコンのメニューで別のキーを選んでください。";
inline constexpr wchar_t NO_TARGET[] =
    L"挿入する先のウィンドウがありません。テキストをクリップボードに入れました。貼り付けて使ってください。";
inline constexpr wchar_t TARGET_HUNG[] =
    L"挿入する先のプログラムが応答しません。何も入力していません。テキストをクリップボードに入れました。";
inline constexpr wchar_t TARGET_NOT_REACHABLE[] =
    L"挿入する先のプログラムには入力できません（管理者として実行されているプログラムや読み取り専用の欄など）。"
    L"テキストをクリップボードに入れました。";
inline constexpr wchar_t TARGET_NOT_IN_FRONT[] =
    L"挿入する先のウィンドウを前面に出せませんでした。何も入力していません。テキストをクリップボードに入れました。";
inline constexpr wchar_t KEYS_HELD[] =
    L"キーが押されたままなので、挿入をやめました。テキストをクリップボードに入れました。";
inline constexpr wchar_t INVALID_BYTES[] =
    L"定義ファイルのテキストに Shift_JIS（コードページ 932）として読めない部分があり、\uFFFD に置き換えました。";

inline constexpr wchar_t MENU_SHOW[] = L"タグウィンドウを表示(&S)";
inline constexpr wchar_t MENU_DEFINITION_FILE[] = L"定義ファイルを開く(&O)...";
inline constexpr wchar_t MENU_ALWAYS_ON_TOP[] = L"常に手前に表示(&T)";
inline constexpr wchar_t MENU_HOTKEY[] = L"ホットキー(&H)";
inline constexpr wchar_t MENU_START_WITH_WINDOWS[] = L"Windows の起動時に開始(&W)";
inline constexpr wchar_t MENU_QUIT[] = L"終了(&X)";

}  // namespace vxpalette
