// The desktop program's texts. This source is UTF-8; the build turns every
// string literal of the program into code page 932 bytes (-fexec-charset).
// In the texts, \r starts a new line in a message box and %s stands for a
// path.
#pragma once

namespace quillrun {

namespace LangRes {

// Captions.
constexpr char ApplicationTitle[] = "Quillbox";
constexpr char CaptionError[] = "エラー";
constexpr char CaptionWarning[] = "警告";
constexpr char CaptionInformation[] = "情報";

// Start-up.
constexpr char PlatformTooOld[] = "実行にはWindows 95以降またはWindows NT 4.0以降が必要です。";

// Adding sources.
constexpr char SourceEmpty[] = "指定したファイルまたはフォルダが見つかりません。";
constexpr char SourceAlreadyListed[] = "以下の項目は既にリスト内に存在しています。\r\"%s\"";
constexpr char SourceNotFound[] = "以下のファイルまたはフォルダが見つかりません。\r\"%s\"";
// The file-open dialog's selection did not fit the program's buffer.
constexpr char SelectionTooLarge[] =
    "一度に選択されたファイルが多すぎるため、追加できませんでした。\r"
    "ファイルを分けて選択してください。";

// Dropped files.
constexpr char DropOutsideClient[] = "ウィンドウのクライアントエリアにドロップして下さい。";
constexpr char DropSeveralDestinations[] =
    "\"保存先のフォルダ\"には 1 つのオブジェクトしか指定できません。\r最初のオブジェクトが代入されます。";

// The run.
constexpr char NothingToExtract[] =
    "電子メールメッセージを含むファイルまたはフォルダが指定されていません。";
constexpr char RunEndedWithFailures[] =
    "いくつかのファイルまたはフォルダから電子メールメッセージを正常に抽出できませんでした。";
constexpr char RunFinished[] = "抽出処理が終了しました。";

// Result codes 1000 to 1009 of a row's extraction.
constexpr char ResultText1000[] = "インターネットメールメッセージが見つかりませんでした。";
constexpr char ResultText1001[] = "入力ファイルが見つかりませんでした。\r\"%s\"";
constexpr char ResultText1002[] = "入力フォルダが見つかりませんでした。\r\"%s\"";
constexpr char ResultText1003[] = "入力パスが見つかりませんでした。\r\"%s\"";
constexpr char ResultText1004[] = "出力ファイルが見つかりませんでした。\r\"%s\"";
constexpr char ResultText1005[] = "出力フォルダを作成できませんでした。\r\"%s\"";
constexpr char ResultText1006[] = "不明なエラーです。";
constexpr char ResultText1007[] = "ファイルの作成エラーです。";
constexpr char ResultText1008[] = "出力フォルダと同名のファイルが存在します。\r\"%s\"";
constexpr char ResultText1009[] = "1 つのフォルダにあるファイルが多すぎます。\r\"%s\"";

// The remaining-time text.
constexpr char RemainingSeconds[] = "予想残り時間: %d 秒";
constexpr char RemainingMinutes[] = "予想残り時間: %d 分%.2d 秒";
constexpr char RemainingHours[] = "予想残り時間: %d 時間 %.2d 分 %.2d 秒";

// The main window.
constexpr char MainCaption[] = "Quillbox";
constexpr char Label1Text[] =
    "テキストファイルなどから電子メールメッセージを抜き出し .eml 形式に保存します。";
constexpr char Label2Text[] = "調査するテキストファイル/フォルダ:";
constexpr char Label3Text[] = "保存先のフォルダ:";
constexpr char Label4Text[] = "変換オプション:";
constexpr char StartBtnText[] = "抽出開始(&X)";
constexpr char BrowseBtnText[] = "参照(&B)...";
constexpr char AboutBtnHint[] = "バージョン情報の表示 (Alt+A)";
constexpr char NewFileBtnHint[] = "ファイルをリストに追加 (Alt+M)";
constexpr char NewFolderBtnHint[] = "フォルダをリストに追加 (Alt+N)";
constexpr char DeleteBtnHint[] = "選択した項目をリストから削除 (Del)";
constexpr char HelpBtnHint[] = "ヘルプの表示 (F1)";
constexpr char FromCtrlHint[] = "ここにファイルをドロップすることもできます";
constexpr char ToCtrlHint[] = "ここにフォルダをドロップすることもできます";
constexpr char ConvertGeneral[] = "一般の形式";
constexpr char ConvertNifty[] = "@nifty web メール一括保存形式";
constexpr char ConvertMbox[] = "UNIX mbox 形式";
constexpr char KeepTreeText[] = "フォルダ構成を保って保存(&K)";
constexpr char ColumnName[] = "項目";
constexpr char ColumnCount[] = "メッセージ数";
constexpr char ColumnPath[] = "パス";
constexpr char OpenDialogFilter[] = "すべてのファイル\0*.*\0";
constexpr char BrowseCaption[] = "保存先のフォルダを指定してください。";

// The drop-purpose dialog.
constexpr char ChooseCaption[] = "Quillbox";
constexpr char ChooseLabel1Text[] = "ドロップしたオブジェクトの用途を指定してください。";
constexpr char ChooseOption1Text[] = "\"調査するテキストファイル/フォルダ\"に追加";
constexpr char ChooseOption2Text[] = "\"保存先のフォルダ\"に追加";
constexpr char OKBtnText[] = "OK";
constexpr char CancelBtnText[] = "キャンセル";

// The About box. The links' font is the proportional Gothic face.
constexpr char AboutCaption[] = "Quillbox について";
constexpr char AboutProductName[] = "Quillbox";
constexpr char AboutVersion[] = "Version 1.0.9.4212";
constexpr char AboutCopyright[] = "Copyright (C) 2026 TALVEN";
constexpr char AboutLabel2Text[] = "製品情報/最新版の入手先:";
constexpr char AboutLabel3Text[] = "お問い合わせ先:";
constexpr char HomePageAddress[] = "https://talven.jp/quillbox/";
constexpr char ContactAddress[] = "quillbox@talven.jp";
constexpr char LinkFontFace[] = "ＭＳ Ｐゴシック";

// The folder browse dialog's failures.
constexpr char BrowseNoDesktopFolder[] = "TBrowseDialog: SHGetDesktopFolder Failed.";
constexpr char BrowseNoBuffer[] = "TBrowseDialog: ppmem.Alloc Failed.";

// The help file beside the program.
constexpr char HelpFileName[] = "\\quillrun.chm";

} // namespace LangRes

} // namespace quillrun
