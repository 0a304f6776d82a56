#include "ui/storage/filecommands.h"

#include <QDir>
#include <QFileInfo>

#include "core/sheet/sheet.h"
#include "core/storage/kltformat.h"
#include "core/storage/sheetfile.h"
#include "core/storage/sheetmerge.h"
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

// Asks whether to save although some cells will not read back as they are; `lossless` says
// whether every cell will.
bool AcceptUnstorable(const TextGrid& storage, QWidget* parent, bool* lossless) {
  const QList<UnstorableCell> cells = FindUnstorableCells(storage);
  *lossless = cells.isEmpty();
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

// The cells the file holds once `storage` is written as `bytes`: what the next save merges
// against, compared with the file as it reads back then.
TextGrid CellsAsWritten(const TextGrid& storage, const QByteArray& bytes, bool lossless) {
  return lossless ? storage : ReadKltSheet(bytes).storage;
}

// Writes `bytes` to `path`; a failure leaves the old file and is told. True when written.
bool WriteOrTell(const QString& path, const QByteArray& bytes, QWidget* parent) {
  const QString error = WriteFileAtomically(path, bytes);
  if (error.isEmpty()) return true;
  ShowMessage(
      parent,
      QStringLiteral("%1 に保存できませんでした。\n%2").arg(QDir::toNativeSeparators(path), error),
      PromptButtons::Ok, QString(), PromptIcon::Critical);
  return false;
}

const QString kTakeAndSave = QStringLiteral("取り込んで保存");
const QString kFileWins = QStringLiteral("ファイルを優先して保存");
const QString kOverwrite = QStringLiteral("上書き");
const QString kCancel = QStringLiteral("キャンセル");
constexpr int kConflictsListed = 20;

QString ChangedSinceRead(const QString& target) {
  return QStringLiteral("%1 は、このシートで読み込むか保存した後に変更されています。")
      .arg(QDir::toNativeSeparators(target));
}

QString MergeQuestion(const QString& target, const StorageMerge& merge, const TextGrid& mine) {
  QString text = ChangedSinceRead(target) + QLatin1Char('\n') +
                 QStringLiteral("ファイルだけで変更された %1 個のセルを取り込みます。")
                     .arg(merge.taken.size());
  if (!merge.conflicts.isEmpty()) {
    text += QStringLiteral("\n\nこのシートとファイルの両方で変更されたセルが %1 個あります。")
                .arg(merge.conflicts.size());
    for (qsizetype i = 0; i < std::min<qsizetype>(merge.conflicts.size(), kConflictsListed); ++i)
      text += QLatin1Char('\n') + DescribeConflict(mine, merge.conflicts[i]);
    if (merge.conflicts.size() > kConflictsListed)
      text += QStringLiteral("\nほか %1 個").arg(merge.conflicts.size() - kConflictsListed);
  }
  return text + QStringLiteral(
                    "\n\n%1: 両方で変更されたセルはこのシートのままにします。\n"
                    "%2: 両方で変更されたセルはファイルのものにします。\n"
                    "%3: ファイルの変更を取り込まずに、このシートで置き換えます。")
                    .arg(kTakeAndSave, kFileWins, kOverwrite);
}

// Writes the merge to the file, then shows the taken cells in the sheet; a write that fails
// leaves both as they were.
bool WriteMergedSheetFile(frmDocument* doc, const QString& target, StorageMerge merge,
                          bool fileWins, QWidget* parent) {
  if (fileWins) PreferTheirs(merge);
  bool lossless = true;
  if (!AcceptUnstorable(merge.merged, parent, &lossless)) return false;
  const QByteArray bytes = WriteKlt(merge.merged);
  if (!WriteOrTell(target, bytes, parent)) return false;
  QList<QPoint> cells;
  for (const StorageCell& cell : merge.taken) cells.append(QPoint(cell.col, cell.row));
  if (fileWins) {
    for (const MergeConflict& conflict : merge.conflicts)
      cells.append(QPoint(conflict.col, conflict.row));
  }
  Sheet* sheet = doc->sheet();
  sheet->TakeStorageCells(merge.merged, cells);
  sheet->SetMark(Sheet::Mark::Saved);
  doc->SetFileStamp(DiskStamp::Of(target), CellsAsWritten(merge.merged, bytes, lossless));
  doc->SetCaption(target);
  return true;
}

// Save over a file someone changed since the sheet read or wrote it: their changes are merged
// into the sheet's, or, where they cannot be, the teacher is asked whether to overwrite them.
bool SaveOverChangedFile(frmDocument* doc, const QString& target, QWidget* parent) {
  const auto askOverwrite = [&](const QString& why) {
    const QString text = ChangedSinceRead(target) + QLatin1Char('\n') +
                         (why.isEmpty() ? QString() : why + QLatin1Char('\n')) +
                         QStringLiteral("上書きしますか?");
    return AskYes(parent, text, QString()) && WriteSheetFile(doc, target, parent);
  };
  if (!doc->FileCells()) return askOverwrite({});
  FileBytes file = ReadFileBytes(target);
  if (file.missing) return WriteSheetFile(doc, target, parent);  // removed meanwhile
  if (!file.error.isEmpty()) {
    return askOverwrite(
        QStringLiteral("ファイルを読み込めないため、変更を取り込めません (%1)。").arg(file.error));
  }
  const KltSheet theirs = ReadKltSheet(std::move(file.bytes));
  if (theirs.load.linesLeftOut || theirs.load.fieldsLeftOut)
    return askOverwrite(
        QStringLiteral("ファイルがシートに入りきらないため、変更を取り込めません。"));
  const Sheet* sheet = doc->sheet();
  TextGrid mine = sheet->Storage();
  sheet->StoreViewInto(mine);
  StorageMerge merge = MergeStorage(*doc->FileCells(), mine, theirs.storage);
  switch (merge.refusal) {
    case StorageMerge::Refusal::SheetColumnsChanged:
      return askOverwrite(
          QStringLiteral("このシートで列を挿入または削除したため、変更を取り込めません。"));
    case StorageMerge::Refusal::FileColumnsChanged:
      return askOverwrite(
          QStringLiteral("ファイルで列が挿入または削除されているため、変更を取り込めません。"));
    case StorageMerge::Refusal::None:
      break;
  }
  // Rewritten unchanged, or changed as this sheet changed it: nothing of theirs to keep.
  if (merge.taken.isEmpty() && merge.conflicts.isEmpty())
    return WriteSheetFile(doc, target, parent);
  const QStringList buttons = {kTakeAndSave, kFileWins, kOverwrite, kCancel};
  const int choice = CurrentPrompts().Choose(parent, MergeQuestion(target, merge, mine),
                                             ApplicationTitle(), buttons, PromptIcon::Warning);
  const QString chosen = buttons.value(choice, kCancel);
  if (chosen == kOverwrite) return WriteSheetFile(doc, target, parent);
  if (chosen == kCancel) return false;
  return WriteMergedSheetFile(doc, target, std::move(merge), chosen == kFileWins, parent);
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
  // Here, off the start-up's main thread: the window takes the storage itself.
  read.fileCells = read.sheet.storage;
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
  // A path that does not exist yet is a sheet the teacher is about to create.
  if (read.file.missing || !read.file.error.isEmpty()) doc->SetFileStamp(read.stamp);
  if (read.file.missing) return {};
  const QString shownPath = QDir::toNativeSeparators(read.path);
  if (!read.file.error.isEmpty()) {
    return QStringLiteral("%1 を読み込めませんでした。\n%2").arg(shownPath, read.file.error);
  }
  // Unless the window was built on the grids already.
  if (read.sheet.view.Rows() > 0)
    doc->sheet()->AdoptRead(std::move(read.sheet.storage), std::move(read.sheet.view));
  doc->SetFileStamp(read.stamp, std::move(read.fileCells));
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
  const DiskStamp now = DiskStamp::Of(target);
  const DiskStamp& known = doc->FileStamp();
  if (now.exists && known.path != target) {
    // A file the sheet was not read from or saved to (kumi.klt beside the kumi.csv it came from).
    if (!ConfirmOverwrite(target, parent, QString())) return false;
  } else if (now.exists && now != known) {
    return SaveOverChangedFile(doc, target, parent);
  }
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
  bool lossless = true;
  if (!AcceptUnstorable(stored, parent, &lossless)) return false;
  sheet->MutableStorage() = std::move(stored);

  sheet->SetMark(Sheet::Mark::Saved);
  const QByteArray bytes = WriteKlt(sheet->Storage());
  if (!WriteOrTell(path, bytes, parent)) {
    sheet->MarkModified();
    return false;
  }
  doc->SetFileStamp(DiskStamp::Of(path), CellsAsWritten(sheet->Storage(), bytes, lossless));
  doc->SetCaption(path);
  return true;
}

QString ChooseFileToOpen(QWidget* parent) {
  return CurrentPrompts().OpenFileName(parent, kOpenFilter);
}

}  // namespace kelt
