#include "ui/storage/filecommands.h"

#include <QDir>
#include <QFileInfo>

#include "core/sheet/sheet.h"
#include "core/storage/kltformat.h"
#include "core/storage/sheetfile.h"
#include "ui/platform/asidework.h"
#include "ui/platform/prompts.h"
#include "ui/sheet/frmdocument.h"

namespace kelt {

namespace {
const QString kSaveAsTitle = QStringLiteral("名前を付けて保存");
const QString kSaveFilter = QStringLiteral("Keltのﾌｧｲﾙ (*.klt)|*.klt");
const QString kOpenFilter = QStringLiteral("Keltファイル(*.klt)|*.klt");
const QString kExtension = QStringLiteral(".klt");

// A name ending in a dot and three characters that are no folder separator or dot.
bool HasFourCharacterExtension(const QString& path) {
  if (path.size() < 5 || path.at(path.size() - 4) != QLatin1Char('.')) return false;
  for (qsizetype i = path.size() - 3; i < path.size(); ++i) {
    const QChar c = path.at(i);
    if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char('.')) return false;
  }
  const QChar before = path.at(path.size() - 5);
  return before != QLatin1Char('/') && before != QLatin1Char('\\');
}

QString CellAddress(const TextGrid& storage, const UnstorableCell& cell) {
  return storage.Text(0, cell.col) + QLatin1Char(':') + Sheet::StorageRowLabel(cell.row);
}

// Asks whether to save although some cells will not read back as they are.
bool AcceptUnstorable(const TextGrid& storage, QWidget* parent) {
  const QList<UnstorableCell> cells = FindUnstorableCells(storage);
  if (cells.isEmpty()) return true;
  const UnstorableCell& first = cells.first();
  const QString why = first.reason == UnstorableCell::kUnencodable
                          ? QStringLiteral("ファイルに保存できない文字")
                          : QStringLiteral("タブ・カンマ・改行");
  const QString text =
      QStringLiteral(
          "そのままでは保存できないセルが %1 個あります。\n最初のセル: %2 (%3)\n"
          "このまま保存すると、これらのセルは元どおりに読み込めません。保存しますか?")
          .arg(cells.size())
          .arg(CellAddress(storage, first), why);
  return ShowMessage(parent, text, PromptButtons::OkCancel, QString(), PromptIcon::Warning) ==
         PromptAnswer::Ok;
}

bool AskYes(QWidget* parent, const QString& text, const QString& title) {
  return ShowMessage(parent, text, PromptButtons::YesNo, title, PromptIcon::Warning) ==
         PromptAnswer::Yes;
}

bool ConfirmOverwrite(const QString& target, QWidget* parent, const QString& title) {
  return AskYes(parent,
                QStringLiteral("%1 は既に存在します。\n上書きしますか?")
                    .arg(QDir::toNativeSeparators(target)),
                title);
}

// Whether Save may write `target`: a file the sheet was not read from or saved to (kumi.klt
// beside the kumi.csv it came from), or one changed on disk since, is replaced only when the
// teacher says so.
bool MayReplace(const frmDocument* doc, const QString& target, QWidget* parent) {
  const DiskStamp now = DiskStamp::Of(target);
  if (!now.exists) return true;
  const DiskStamp& known = doc->FileStamp();
  if (known.path != target) return ConfirmOverwrite(target, parent, QString());
  if (now == known) return true;
  return AskYes(parent,
                QStringLiteral("%1 は、このシートで読み込むか保存した後に変更されています。\n"
                               "上書きしますか?")
                    .arg(QDir::toNativeSeparators(target)),
                QString());
}
}  // namespace

QString CommandLinePath(const QString& arguments) {
  if (arguments.size() > 4 && arguments.startsWith(QLatin1Char('"'))) {
    return arguments.mid(1, arguments.size() - 2);
  }
  return arguments;
}

std::optional<QString> CommandLinePathBeforeQt(int argc, const char* const* argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] == '-') return std::nullopt;
    // As QCoreApplication::arguments() decodes them.
    arguments << QString::fromLocal8Bit(argv[i]);
  }
  return CommandLinePath(arguments.join(QLatin1Char(' ')));
}

QString KltSavePath(const QString& path) {
  if (path.endsWith(kExtension, Qt::CaseInsensitive)) return path;
  return HasFourCharacterExtension(path) ? path.left(path.size() - 4) + kExtension
                                         : path + kExtension;
}

SheetFileRead ReadSheetFileAside(const QString& path) {
  SheetFileRead read;
  read.path = QFileInfo(path).absoluteFilePath();
  read.stamp = DiskStamp::Of(read.path);
  read.file = ReadFileBytes(read.path);
  if (read.file.missing || !read.file.error.isEmpty()) return read;
  read.sheet = ReadKltSheet(std::move(read.file.bytes));
  return read;
}

SheetFileRead NewSheetAside() {
  SheetFileRead read;
  Sheet::FreshGrids(read.sheet.storage, read.sheet.view);
  return read;
}

std::future<SheetFileRead> FirstSheetAside(const QString& path) {
  auto reading = std::make_shared<AsideWork<SheetFileRead>>(
      [path] { return path.isEmpty() ? NewSheetAside() : ReadSheetFileAside(path); });
  return std::async(std::launch::deferred, [path, reading] {
    SheetFileRead read = reading->Take();
    if (!read.file.error.isEmpty()) read = ReadSheetFileAside(path);
    return read;
  });
}

QString ShowSheetFileRead(frmDocument* doc, SheetFileRead read) {
  doc->SetCaption(read.path);
  doc->SetFileStamp(read.stamp);
  // A path that does not exist yet is a sheet the teacher is about to create.
  if (read.file.missing) return {};
  const QString shownPath = QDir::toNativeSeparators(read.path);
  if (!read.file.error.isEmpty()) {
    return QStringLiteral("%1 を読み込めませんでした。\n%2").arg(shownPath, read.file.error);
  }
  // Unless the window was built on the grids already.
  if (read.sheet.view.Rows() > 0)
    doc->sheet()->AdoptRead(std::move(read.sheet.storage), std::move(read.sheet.view));
  QStringList leftOut;
  if (read.sheet.load.linesLeftOut) leftOut << QStringLiteral("%1 行目より後").arg(kKltMaxLines);
  if (read.sheet.load.fieldsLeftOut) leftOut << QStringLiteral("%1 列目より右").arg(kKltMaxFields);
  if (leftOut.isEmpty()) return {};
  return QStringLiteral(
             "%1 の %2 は、シートに入りきらないため読み込んでいません。\n"
             "このファイルに上書き保存すると、その部分は失われます。")
      .arg(shownPath, leftOut.join(QStringLiteral("と")));
}

bool SaveSheet(frmDocument* doc, QWidget* parent) {
  if (!doc) return false;
  const QString caption = doc->Caption();
  if (Sheet::IsBookCaption(caption)) return SaveSheetAs(doc, parent);
  const QString target = KltSavePath(caption);
  if (!MayReplace(doc, target, parent)) return false;
  return WriteSheetFile(doc, target, parent);
}

bool SaveSheetAs(frmDocument* doc, QWidget* parent) {
  if (!doc) return false;
  const QString chosen = CurrentPrompts().SaveFileName(parent, kSaveAsTitle, kSaveFilter);
  if (chosen.isEmpty()) return false;
  const QString target = QFileInfo(KltSavePath(chosen)).absoluteFilePath();
  // The question is about the file actually written, whatever name was typed.
  if (QFileInfo::exists(target) && !ConfirmOverwrite(target, parent, kSaveAsTitle)) return false;
  return WriteSheetFile(doc, target, parent);
}

bool WriteSheetFile(frmDocument* doc, const QString& path, QWidget* parent) {
  Sheet* sheet = doc->sheet();
  // The store is prepared aside: a save cancelled at the question leaves the undo snapshot.
  TextGrid stored = sheet->Storage();
  sheet->StoreViewInto(stored);
  if (!AcceptUnstorable(stored, parent)) return false;
  sheet->MutableStorage() = std::move(stored);

  sheet->SetMark(Sheet::Mark::Saved);
  const QString error = WriteFileAtomically(path, WriteKlt(sheet->Storage()));
  if (!error.isEmpty()) {
    sheet->MarkModified();
    ShowMessage(parent,
                QStringLiteral("%1 に保存できませんでした。\n%2")
                    .arg(QDir::toNativeSeparators(path), error),
                PromptButtons::Ok, QString(), PromptIcon::Critical);
    return false;
  }
  doc->SetFileStamp(DiskStamp::Of(path));
  doc->SetCaption(path);
  return true;
}

QString ChooseFileToOpen(QWidget* parent) {
  return CurrentPrompts().OpenFileName(parent, kOpenFilter);
}

}  // namespace kelt
