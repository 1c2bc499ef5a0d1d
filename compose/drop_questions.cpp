#include "compose/drop_questions.h"

namespace vlm {
namespace {

constexpr wchar_t kAttachmentCaption[] = L"添付ファイルの確認";

std::wstring TooLarge(const wchar_t* kind, const std::wstring& name, const std::wstring& threshold,
                      const std::wstring& size) {
  return std::wstring(kind) + L"「" + name + L"」のサイズは" + threshold + L"MByte以上(" + size +
         L")です。\r\nこのまま送信しても良いですか？\r\n\r\n";
}

}  // namespace

TDropQuestion ArchiveSizeQuestion(const std::wstring& name, const std::wstring& threshold,
                                  const std::wstring& size) {
  return {TooLarge(L"添付ファイル", name, threshold, size) +
              L"「OK」・・・・・そのまま添付\r\n「キャンセル」・キャンセル",
          kAttachmentCaption, kBoxOkCancel | kBoxIconWarning | kBoxSecondDefault};
}

TDropQuestion FileSizeQuestion(const std::wstring& name, const std::wstring& threshold,
                               const std::wstring& size, const std::wstring& format) {
  return {TooLarge(L"添付ファイル", name, threshold, size) +
              L"「はい」・・・・そのまま添付\r\n「いいえ」・・・" + format +
              L"圧縮して添付\r\n「キャンセル」・キャンセル",
          kAttachmentCaption, kBoxYesNoCancel | kBoxIconWarning | kBoxSecondDefault};
}

TDropQuestion FolderSizeQuestion(const std::wstring& name, const std::wstring& threshold,
                                 const std::wstring& size, const std::wstring& format) {
  return {TooLarge(L"添付フォルダ", name, threshold, size) + L"「OK」・・・・・" + format +
              L"圧縮して添付\r\n「キャンセル」・キャンセル",
          kAttachmentCaption, kBoxOkCancel | kBoxIconWarning};
}

TDropQuestion UnderscoreQuestion() {
  return {L"拡張子に\"_\"を挿入しますか？", L"圧縮拡張子の確認", kBoxYesNo | kBoxIconWarning};
}

TDropQuestion OutlookQuestion(const std::wstring& name, const std::wstring& format) {
  return {L"添付ファイル「" + name +
              L"」はOutlook系では開けません。\r\nこのまま送信しても良いですか？\r\n\r\n"
              L"「はい」・・・・そのまま添付\r\n「いいえ」・・・" +
              format + L"圧縮して添付\r\n「キャンセル」・キャンセル",
          kAttachmentCaption, kBoxYesNoCancel | kBoxIconWarning | kBoxSecondDefault};
}

TDropQuestion PasswordQuestion() {
  return {L"パスワード付き圧縮にしますか？", L"パスワード付き圧縮の確認",
          kBoxYesNo | kBoxIconWarning};
}

TDropQuestion MissingArchiverNotice() {
  return {
      L"caldixを起動します。\r\n「開始」をクリックすると自動でDLLがインストールされます。\r\n"
      L"「開始」を押してください。",
      L"圧縮用DLLがありません", kBoxOk | kBoxIconWarning};
}

TDropQuestion RootFolderNotice(const std::wstring& path) {
  return {L"「" + path +
              L"」はドライブ全体のため圧縮して添付できません。\r\n"
              L"添付するフォルダを選んでドロップしてください。",
          kAttachmentCaption, kBoxOk | kBoxIconWarning};
}

TDropQuestion PackingFailedNotice(const std::wstring& name, const std::wstring& format,
                                  int resultCode) {
  std::wstring text = L"「" + name + L"」を「" + format + L"」に圧縮できませんでした。";
  if (resultCode != 0) text += L"(エラーコード " + std::to_wstring(resultCode) + L")";
  return {text + L"\r\nこのファイルは添付しません。", kAttachmentCaption, kBoxOk | kBoxIconWarning};
}

namespace {

// Up to ten names, one a line; a count for the rest.
std::wstring NameList(const std::vector<std::wstring>& names) {
  constexpr size_t kShown = 10;
  std::wstring list;
  for (size_t i = 0; i < names.size() && i < kShown; ++i) list += L"\r\n　" + names[i];
  if (names.size() > kShown)
    list += L"\r\n　ほか " + std::to_wstring(names.size() - kShown) + L" 件";
  return list;
}

}  // namespace

TDropQuestion PackingWarningQuestion(const std::wstring& name, const std::wstring& format,
                                     int resultCode, const std::vector<std::wstring>& missing) {
  std::wstring text = L"「" + name + L"」を「" + format + L"」に圧縮しましたが、";
  if (resultCode != 0)
    text += L"圧縮用DLLがエラーコード " + std::to_wstring(resultCode) + L" を返しました。\r\n";
  text += missing.empty() ? L"書庫に入っていないファイルがあるかもしれません(ほかのプログラムが"
                            L"開いているファイルなど)。"
                          : L"次のファイルが書庫に入っていません。" + NameList(missing);
  return {text +
              L"\r\nこのまま添付しますか？\r\n\r\n"
              L"「はい」・・・・この書庫を添付\r\n「いいえ」・・・添付しない",
          kAttachmentCaption, kBoxYesNo | kBoxIconWarning | kBoxSecondDefault};
}

TDropQuestion MissingFileNotice(const std::wstring& name) {
  return {L"「" + name +
              L"」が見つからないため添付しません。\r\n"
              L"確認の間にファイルが移動または削除されました。",
          kAttachmentCaption, kBoxOk | kBoxIconWarning};
}

TDropQuestion NoComposeWindowNotice(const std::wstring& name) {
  return {L"「" + name +
              L"」は添付されませんでした。\r\n"
              L"Becky! "
              L"が新しいメールの作成ウィンドウを開けませんでした。もう一度ドロップしてください。",
          kAttachmentCaption, kBoxOk | kBoxIconWarning};
}

TDropQuestion NoPasswordNotice(const std::wstring& name, const std::wstring& problem) {
  return {L"パスワードが使えないため、「" + name + L"」は添付しません。\r\n" + problem,
          L"パスワード付き圧縮の確認", kBoxOk | kBoxIconWarning};
}

TDropQuestion CodePageCopyNotice(const std::wstring& name, const std::wstring& reason) {
  return {L"「" + name +
              L"」は添付しません。\r\n"
              L"名前にシステムの文字コードで表せない文字があるため、表せる名前で一時フォルダに"
              L"コピーしようとしましたが、できませんでした。\r\n" +
              reason,
          kAttachmentCaption, kBoxOk | kBoxIconWarning};
}

TDropQuestion WorkFolderNotice(const std::wstring& name, const std::wstring& reason) {
  return {L"「" + name +
              L"」は添付しません。\r\n"
              L"一時フォルダに作業用のフォルダを作れませんでした。一時フォルダの空きと書き込みの"
              L"権限を確かめてください。\r\n" +
              reason,
          kAttachmentCaption, kBoxOk | kBoxIconWarning};
}

}  // namespace vlm
