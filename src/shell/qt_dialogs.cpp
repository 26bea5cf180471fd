#include "shell/qt_dialogs.h"

#include "base/codepage.h"
#include "base/file_io.h"
#include "base/program.h"
#include "graphics/window_mapping.h"
#include "reports/report_devices.h"
#include "shell/dialog_texts.h"
#include "shell/qt_form_view.h"
#include "shell/qt_printer_host.h"
#include "shell/qt_table_window.h"
#include "shell/qt_text.h"
#include "shell/text_printer.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStringDecoder>
#include <QVBoxLayout>

#include <algorithm>

namespace kora {
namespace {

namespace text = dialog_text;

constexpr int kMostRadioItems = 7;      // beyond this a list box
constexpr int kRadioItemHeight = 25;    // the radio group is n * 25 + 25 high
constexpr int kPromptWidth = 300;       // the word-wrapped prompt of the text input
constexpr int kCaptionGap = 20;         // dialogs sit this far below the main window's middle
constexpr std::size_t kShownLines = 22; // lines of the lines window
constexpr std::size_t kMostTextBytes = std::size_t{256} << 20;
constexpr int kTextWindowWidth = 700, kTextWindowHeight = 440; // when none is configured
constexpr int kCauseRemedyColumns = 60;
constexpr int kListPadding = 16; // beside the longest item of a list box
constexpr int kLinesColumns = 82;

// The shell's own texts (dialog_text) and paths; the texts of the interface come in code page
// 850 and go through FromCp850 and ToCp850.
QString Q(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string Utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

int Percent(int value) {
    return value > 0 ? value : 100;
}

// A report file as the window shows it: UTF-8 as it is, anything else read as code page 850;
// page breaks become empty lines.
QString ShownText(const std::string& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString shown = decoder(QByteArray::fromStdString(bytes));
    if (decoder.hasError()) shown = Q(Cp850ToUtf8(bytes));
    shown.remove(QChar('\r')).remove(QChar('\f'));
    return shown;
}

QLabel* PromptLabel(QDialog& dialog, std::string_view prompt) {
    auto* label = new QLabel(FromCp850(prompt), &dialog);
    label->setObjectName("Label_prompt");
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton* AddButton(QDialogButtonBox& box, std::string_view caption,
                       QDialogButtonBox::ButtonRole role, const char* name) {
    QPushButton* button = box.addButton(Q(caption), role);
    button->setObjectName(name);
    return button;
}

// Line breaks that come in with pasted text become blanks: every one-line value is stored on
// one line of its file (spring file, message help file), where a break would split it.
void KeepOnOneLine(QLineEdit& edit) {
    QObject::connect(&edit, &QLineEdit::textEdited, &edit, [&edit](const QString& typed) {
        if (!typed.contains('\n') && !typed.contains('\r')) return;
        const int cursor = edit.cursorPosition();
        QString joined = typed;
        joined.replace("\r\n", " ").replace('\r', ' ').replace('\n', ' ');
        edit.setText(joined);
        edit.setCursorPosition(std::min<int>(cursor, static_cast<int>(joined.size())));
    });
}

// "OK" (the default button, so Enter confirms) and "Abbrechen".
QDialogButtonBox* OkCancel(QDialog& dialog) {
    auto* box = new QDialogButtonBox(&dialog);
    QPushButton* ok = AddButton(*box, text::kOk, QDialogButtonBox::AcceptRole, "Button_ok");
    AddButton(*box, text::kCancel, QDialogButtonBox::RejectRole, "Button_cancel");
    ok->setDefault(true);
    QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return box;
}

QMessageBox& Prepared(QMessageBox& box, std::string_view text, const QString& caption) {
    box.setWindowTitle(caption);
    box.setText(FromCp850(text));
    box.setTextFormat(Qt::PlainText);
    return box;
}

// Masks such as "*.kra" or "*.dxf;*.igs" as a Qt name filter.
QString NameFilter(std::string_view mask) {
    QString filter = Q(mask).trimmed();
    if (filter.isEmpty()) filter = "*";
    filter.replace(';', ' ');
    return filter;
}

// "kra" for the mask "*.kra"; empty when the mask names several or any extension.
QString SingleExtension(std::string_view mask) {
    const QString m = Q(mask).trimmed();
    if (!m.startsWith("*.") || m.contains(';') || m.contains(' ') || m.indexOf('*', 1) >= 0 ||
        m.contains('?'))
        return {};
    return m.mid(2);
}

// The folder a file dialog starts in: the given folder, or the folder of the given file.
QString StartFolder(const QString& path) {
    if (path.isEmpty()) return QDir::currentPath();
    QFileInfo info(path);
    if (info.isDir()) return info.absoluteFilePath();
    return info.absolutePath();
}

} // namespace

QtDialogs::QtDialogs(QWidget* mainWindow) : mainWindow_(mainWindow) {}

void QtDialogs::ScaleFont(QWidget& dialog) const {
    const int elements = Percent(config_->DialogElementScale);
    if (elements == 100) return;
    QFont font = dialog.font();
    font.setPointSizeF(font.pointSizeF() * elements / 100.0);
    dialog.setFont(font);
}

void QtDialogs::Place(QDialog& dialog) const {
    ScaleFont(dialog);
    // Polished as when shown, so that the size computed here is the size shown.
    dialog.ensurePolished();
    for (QWidget* child : dialog.findChildren<QWidget*>())
        child->ensurePolished();
    if (dialog.layout() != nullptr) dialog.layout()->activate();
    dialog.adjustSize();
    const double scale = Percent(config_->inputWindowScale) / 100.0;
    const QSize size = (dialog.sizeHint().expandedTo(dialog.minimumSizeHint()) * scale)
                           .expandedTo(dialog.minimumSize());
    dialog.resize(size);
    // Centred with its frame: the frame is known once the window exists.
    dialog.winId();
    const QSize framed = dialog.frameGeometry().size();
    QRect main;
    if (mainWindow_ != nullptr)
        main = mainWindow_->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        main = screen->availableGeometry();
    const int left = main.left() + std::max(0, (main.width() - framed.width()) / 2);
    const int top = main.top() + std::max(0, (main.height() - framed.height()) / 2) + kCaptionGap;
    dialog.move(left, top);
}

void QtDialogs::AddHelpButtons(QDialog& dialog, QDialogButtonBox& box, int topic) const {
    if (!help) return;
    QPushButton* helpText =
        AddButton(box, text::kHelpText, QDialogButtonBox::HelpRole, "Button_helpText");
    QPushButton* helpPicture =
        AddButton(box, text::kHelpPicture, QDialogButtonBox::HelpRole, "Button_helpPicture");
    auto call = help;
    QObject::connect(helpText, &QPushButton::clicked, &dialog,
                     [call, topic] { call(Help::Text, topic); });
    QObject::connect(helpPicture, &QPushButton::clicked, &dialog,
                     [call, topic] { call(Help::Picture, topic); });
}

std::optional<std::size_t> QtDialogs::ShowTable(TableWindowContent& table) {
    QtTableWindow window(table, mainWindow_);
    ScaleFont(window);
    return window.Choose();
}

bool QtDialogs::ShowForm(FormModel& form) {
    QtFormView view(form, mainWindow_);
    AddHelpButtons(view, view.buttonBox(), form.HelpTopic);
    return view.Run([this](QDialog& dialog) { Place(dialog); });
}

std::optional<bool> QtDialogs::PrintTextFile(std::string_view path) {
    const auto bytes = ReadSmallFile(std::string(path), kMostTextBytes);
    if (!bytes) return false;
    if (printers && printers->Batch())
        return PrintText(*bytes, printers->ForNextJob(), *config_) > 0;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, mainWindow_);
    if (dialog.exec() != QDialog::Accepted) return false;
    return PrintText(*bytes, printer, *config_) > 0;
}

void QtDialogs::ShowInfo(std::string_view message, std::string_view caption) {
    QMessageBox box(QMessageBox::Information, {}, {}, QMessageBox::NoButton, mainWindow_);
    QPushButton* ok = box.addButton(Q(text::kOk), QMessageBox::AcceptRole);
    ok->setObjectName("Button_ok");
    box.setEscapeButton(ok);
    ScaleFont(box);
    Prepared(box, message, FromCp850(caption)).exec();
}

void QtDialogs::ShowError(std::string_view message) {
    QMessageBox box(QMessageBox::Critical, {}, {}, QMessageBox::NoButton, mainWindow_);
    QPushButton* ok = box.addButton(Q(text::kOk), QMessageBox::AcceptRole);
    ok->setObjectName("Button_ok");
    box.setEscapeButton(ok);
    ScaleFont(box);
    Prepared(box, message, Q(text::kErrorCaption)).exec();
}

YesNoCancel QtDialogs::AskYesNoCancel(std::string_view question) {
    QMessageBox box(QMessageBox::Question, {}, {}, QMessageBox::NoButton, mainWindow_);
    QPushButton* yes = box.addButton(Q(text::kYes), QMessageBox::YesRole);
    QPushButton* no = box.addButton(Q(text::kNo), QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(Q(text::kCancel), QMessageBox::RejectRole);
    yes->setObjectName("Button_yes");
    no->setObjectName("Button_no");
    cancel->setObjectName("Button_cancel");
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    ScaleFont(box);
    Prepared(box, question, Q(kProgramTitle)).exec();
    if (box.clickedButton() == yes) return YesNoCancel::Yes;
    if (box.clickedButton() == no) return YesNoCancel::No;
    return YesNoCancel::Cancel;
}

std::optional<bool> QtDialogs::AskYesNo(std::string_view prompt, bool preset) {
    QDialog dialog(mainWindow_);
    dialog.setWindowTitle(Q(text::kInputCaption));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(PromptLabel(dialog, prompt));
    auto* group = new QGroupBox(Q(text::kChoiceGroup), &dialog);
    group->setObjectName("RadioGroup_choice");
    auto* groupLayout = new QVBoxLayout(group);
    auto* yes = new QRadioButton(Q(text::kYes), group);
    auto* no = new QRadioButton(Q(text::kNo), group);
    yes->setObjectName("RadioButton_yes");
    no->setObjectName("RadioButton_no");
    groupLayout->addWidget(yes);
    groupLayout->addWidget(no);
    (preset ? yes : no)->setChecked(true);
    (preset ? yes : no)->setFocus();
    layout->addWidget(group);
    QDialogButtonBox* buttons = OkCancel(dialog);
    AddHelpButtons(dialog, *buttons);
    layout->addWidget(buttons);
    Place(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return yes->isChecked();
}

std::optional<int> QtDialogs::ChooseItem(std::string_view prompt,
                                         const std::vector<std::string>& items, int preset) {
    const int n = static_cast<int>(items.size());
    if (n == 0) return std::nullopt; // nothing to choose
    if (preset < 1 || preset > n) preset = 1;
    QDialog dialog(mainWindow_);
    dialog.setWindowTitle(Q(text::kChoiceCaption));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(PromptLabel(dialog, prompt));
    QListWidget* list = nullptr;
    auto* radios = new QButtonGroup(&dialog);
    if (n > kMostRadioItems) {
        list = new QListWidget(&dialog);
        list->setObjectName("ListBox_items");
        for (const std::string& item : items)
            list->addItem(FromCp850(item));
        list->setCurrentRow(preset - 1);
        list->setFocus();
        // Wide enough for the longest item, so that none is cut.
        int widest = 0;
        for (int i = 0; i < list->count(); ++i)
            widest = std::max(widest, list->fontMetrics().horizontalAdvance(list->item(i)->text()));
        list->setMinimumWidth(widest + list->verticalScrollBar()->sizeHint().width() +
                              2 * list->frameWidth() + kListPadding);
        QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
        layout->addWidget(list);
    } else {
        auto* group = new QGroupBox(&dialog);
        group->setObjectName("RadioGroup_items");
        auto* groupLayout = new QVBoxLayout(group);
        for (int i = 0; i < n; ++i) {
            auto* radio = new QRadioButton(FromCp850(items[static_cast<std::size_t>(i)]), group);
            radio->setObjectName(QString("RadioButton_%1").arg(i + 1));
            radios->addButton(radio, i + 1);
            groupLayout->addWidget(radio);
        }
        const int elements = Percent(config_->DialogElementScale);
        group->setMinimumHeight((n * kRadioItemHeight + kRadioItemHeight) * elements / 100);
        radios->button(preset)->setChecked(true);
        radios->button(preset)->setFocus();
        layout->addWidget(group);
    }
    QDialogButtonBox* buttons = OkCancel(dialog);
    AddHelpButtons(dialog, *buttons);
    layout->addWidget(buttons);
    Place(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    if (list != nullptr) {
        const int row = list->currentRow();
        return row >= 0 ? std::optional<int>(row + 1) : std::nullopt;
    }
    const int checked = radios->checkedId();
    return checked >= 1 ? std::optional<int>(checked) : std::nullopt;
}

std::optional<std::string> QtDialogs::InputText(std::string_view prompt, std::size_t maxLength,
                                                std::string_view preset) {
    QDialog dialog(mainWindow_);
    dialog.setWindowTitle(Q(text::kInputCaption));
    dialog.setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(&dialog);
    QLabel* label = PromptLabel(dialog, prompt);
    label->setMinimumWidth(kPromptWidth * Percent(config_->DialogElementScale) / 100);
    layout->addWidget(label);
    auto* edit = new QLineEdit(&dialog);
    edit->setObjectName("Edit_text");
    constexpr std::size_t kLongest = 32767; // QLineEdit's own limit
    edit->setMaxLength(static_cast<int>(maxLength == 0 ? kLongest : std::min(maxLength, kLongest)));
    edit->setText(FromCp850(preset));
    KeepOnOneLine(*edit);
    edit->selectAll();
    edit->setFocus();
    label->setBuddy(edit);
    layout->addWidget(edit);
    QDialogButtonBox* buttons = OkCancel(dialog);
    AddHelpButtons(dialog, *buttons);
    layout->addWidget(buttons);
    Place(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return ToCp850(edit->text());
}

std::optional<std::string> QtDialogs::ChooseFolder(std::string_view path) {
    const QString given = Q(path);
    QFileDialog dialog(mainWindow_, Q(text::kFolderCaption));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setDirectory(QFileInfo(given).isDir() ? given : QDir::currentPath());
    Place(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return Utf8(dialog.selectedFiles().front());
}

std::optional<std::string> QtDialogs::RunFileDialog(std::string_view path, std::string_view mask,
                                                    bool save) {
    const QString given = Q(path);
    QFileDialog dialog(mainWindow_);
    // Qt's own dialog: the same on every desktop, and reachable from the tests.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(NameFilter(mask));
    dialog.setDirectory(StartFolder(given));
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite); // the caller asks
        dialog.setDefaultSuffix(SingleExtension(mask));
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    const QFileInfo info(given);
    if (!given.isEmpty() && !info.isDir()) dialog.selectFile(info.fileName());
    Place(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return Utf8(dialog.selectedFiles().front());
}

std::optional<std::string> QtDialogs::ChooseFile(std::string_view path, std::string_view mask) {
    return RunFileDialog(path, mask, false);
}

std::optional<std::string> QtDialogs::ChooseSaveFile(std::string_view path, std::string_view mask) {
    return RunFileDialog(path, mask, true);
}

std::optional<int> QtDialogs::ChooseColour(int preset) {
    const Rgb now = BackgroundColour(preset); // a palette number or a 0x00BBGGRR value
    QColorDialog dialog(QColor(now.r, now.g, now.b), mainWindow_);
    dialog.setWindowTitle(Q(text::kColourCaption));
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    Place(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QColor c = dialog.selectedColor();
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

std::optional<FontChoice> QtDialogs::ChooseFont(const FontChoice& preset) {
    QFont font(Q(preset.typeface), preset.size > 0 ? preset.size : -1);
    font.setBold(preset.style & 1);
    font.setItalic(preset.style & 2);
    font.setUnderline(preset.style & 4);
    font.setStrikeOut(preset.style & 8);
    QFontDialog dialog(font, mainWindow_);
    dialog.setWindowTitle(Q(text::kFontCaption));
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    Place(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QFont f = dialog.selectedFont();
    const int style = (f.bold() ? 1 : 0) | (f.italic() ? 2 : 0) | (f.underline() ? 4 : 0) |
                      (f.strikeOut() ? 8 : 0);
    return FontChoice{Utf8(f.family()), f.pointSize() > 0 ? f.pointSize() : preset.size, style};
}

void QtDialogs::ShowTextFile(std::string_view title, std::string_view path) {
    const std::string file(path);
    const auto bytes = ReadSmallFile(file, kMostTextBytes);
    if (!bytes) {
        ShowError(Utf8ToCp850(file + std::string(text::kNotFound)));
        return;
    }
    Configuration& config = *config_;
    QDialog window(mainWindow_);
    window.setObjectName("TForm_showtextfile");
    window.setWindowTitle(
        Q(std::string(text::kWindowTitle) + std::string(text::kTitleSeparator) + file));
    window.setAccessibleName(FromCp850(title));
    window.setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* menus = new QMenuBar(&window);
    layout->setMenuBar(menus);
    auto* memo = new QPlainTextEdit(&window);
    memo->setObjectName("Memo_text");
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setFont(PrintoutFont(config));
    memo->setPlainText(ShownText(*bytes));
    layout->addWidget(memo);

    // An outside program given the file; a missing one is named in an error box.
    auto start = [this, file](const std::string& command) {
        const std::string program = command.empty() ? std::string(kDefaultOpenCommand) : command;
        std::vector<std::string> words = CommandWords(program);
        words.push_back(file);
        if (launcher->Start(words) != 0) ShowError(program + std::string(text::kNotFound));
    };
    QMenu* fileMenu = menus->addMenu(Q(text::kFileMenu));
    fileMenu->setObjectName("Menu_file");
    QAction* print = fileMenu->addAction(Q(text::kPrint));
    print->setObjectName("mi_print");
    QObject::connect(print, &QAction::triggered, &window,
                     [&config, start] { start(config.printCommand); });
    QAction* notepad = fileMenu->addAction(Q(text::kExportNotepad));
    notepad->setObjectName("mi_notepad");
    QObject::connect(notepad, &QAction::triggered, &window,
                     [&config, start] { start(config.textProgram); });
    QAction* exit = fileMenu->addAction(Q(text::kExit));
    exit->setObjectName("mi_exit");
    QObject::connect(exit, &QAction::triggered, &window, &QDialog::accept);
    QMenu* editMenu = menus->addMenu(Q(text::kEditMenu));
    editMenu->setObjectName("Menu_edit");
    QAction* selectAll = editMenu->addAction(Q(text::kSelectAll));
    selectAll->setObjectName("mi_selectAll");
    QObject::connect(selectAll, &QAction::triggered, memo, &QPlainTextEdit::selectAll);
    QAction* copy = editMenu->addAction(Q(text::kCopy));
    copy->setObjectName("mi_copy");
    copy->setShortcut(QKeySequence::Copy);
    QObject::connect(copy, &QAction::triggered, memo, [memo] {
        const QString selected = memo->textCursor().selectedText();
        // The selection holds paragraph separators in place of line ends.
        QString copied = selected.isEmpty() ? memo->toPlainText() : selected;
        copied.replace(QChar::ParagraphSeparator, '\n');
        QGuiApplication::clipboard()->setText(copied);
    });

    if (config.textWindowWidth > 0 && config.textWindowHeight > 0) {
        window.setGeometry(config.textWindowLeft, config.textWindowTop, config.textWindowWidth,
                           config.textWindowHeight);
    } else {
        window.resize(kTextWindowWidth, kTextWindowHeight);
    }
    window.exec();
    const QRect shown = window.geometry();
    config.textWindowLeft = shown.left();
    config.textWindowTop = shown.top();
    config.textWindowWidth = shown.width();
    config.textWindowHeight = shown.height();
}

void QtDialogs::ShowLines(const std::vector<std::string>& lines) {
    QDialog dialog(mainWindow_);
    dialog.setObjectName("TShowScreen");
    dialog.setWindowTitle(Q(text::kWindowTitle));
    auto* layout = new QVBoxLayout(&dialog);
    auto* memo = new QPlainTextEdit(&dialog);
    memo->setObjectName("Memo_lines");
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QStringList shown;
    for (std::size_t i = 0; i < lines.size() && i < kShownLines; ++i)
        shown << FromCp850(lines[i]);
    memo->setPlainText(shown.join('\n'));
    const QFontMetrics metrics(memo->font());
    memo->setMinimumSize(metrics.horizontalAdvance(QString(kLinesColumns, 'M')),
                         metrics.lineSpacing() * static_cast<int>(kShownLines + 2));
    layout->addWidget(memo);
    auto* box = new QDialogButtonBox(&dialog);
    QPushButton* ok = AddButton(*box, text::kOk, QDialogButtonBox::AcceptRole, "Button_ok");
    ok->setDefault(true);
    QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(box);
    Place(dialog);
    ok->setFocus();
    dialog.exec();
}

std::optional<std::pair<std::string, std::string>>
QtDialogs::ShowMessageHelp(std::string_view message, std::string_view cause,
                           std::string_view remedy) {
    QDialog dialog(mainWindow_);
    dialog.setObjectName("TForm_messageHelp");
    dialog.setWindowTitle(Q(text::kMessageHelpCaption));
    auto* layout = new QVBoxLayout(&dialog);
    auto* form = new QFormLayout;
    auto* shownMessage = new QLabel(FromCp850(message), &dialog);
    shownMessage->setObjectName("Label_message");
    shownMessage->setTextFormat(Qt::PlainText);
    shownMessage->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(Q(text::kMessageLabel), shownMessage);
    // One line each: the help file holds cause and remedy on one line apiece.
    auto edit = [&dialog](std::string_view value, const char* name) {
        auto* line = new QLineEdit(FromCp850(value), &dialog);
        line->setObjectName(name);
        line->setMinimumWidth(line->fontMetrics().averageCharWidth() * kCauseRemedyColumns);
        line->setCursorPosition(0);
        KeepOnOneLine(*line);
        return line;
    };
    QLineEdit* causeEdit = edit(cause, "Edit_cause");
    QLineEdit* remedyEdit = edit(remedy, "Edit_remedy");
    form->addRow(Q(text::kCauseLabel), causeEdit);
    form->addRow(Q(text::kRemedyLabel), remedyEdit);
    layout->addLayout(form);
    auto* box = new QDialogButtonBox(&dialog);
    if (help) {
        QPushButton* helpButton =
            AddButton(*box, text::kHelp, QDialogButtonBox::HelpRole, "Button_help");
        auto call = help;
        QObject::connect(helpButton, &QPushButton::clicked, &dialog,
                         [call] { call(Help::Text, 0); });
    }
    QPushButton* ok = AddButton(*box, text::kOk, QDialogButtonBox::AcceptRole, "Button_ok");
    ok->setDefault(true);
    QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(box);
    Place(dialog);
    causeEdit->setFocus();
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return std::make_pair(ToCp850(causeEdit->text()), ToCp850(remedyEdit->text()));
}

void QtDialogs::Beep() {
    QApplication::beep();
}

} // namespace kora
