#include "dialogs/zelwidgetdialogservice.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QFormLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>

int TzelWidgetDialogService::MessageBox(const QString &text, const QString &caption, int buttons, Icon icon)
{
    static const struct { int ours; QMessageBox::StandardButton qt; } map[] = {
        {mbOK, QMessageBox::Ok},          {mbCancel, QMessageBox::Cancel},       {mbYes, QMessageBox::Yes},
        {mbNo, QMessageBox::No},          {mbAbort, QMessageBox::Abort},         {mbRetry, QMessageBox::Retry},
        {mbIgnore, QMessageBox::Ignore},  {mbNoToAll, QMessageBox::NoToAll},     {mbYesToAll, QMessageBox::YesToAll},
        {mbHelp, QMessageBox::Help}};
    QMessageBox::StandardButtons qtButtons;
    for (const auto &m : map)
        if (buttons & m.ours)
            qtButtons |= m.qt;
    const QMessageBox::Icon qtIcon = icon == miInformation ? QMessageBox::Information
                                     : icon == miWarning   ? QMessageBox::Warning
                                     : icon == miError     ? QMessageBox::Critical
                                     : icon == miQuestion  ? QMessageBox::Question
                                                           : QMessageBox::NoIcon;
    QMessageBox box(qtIcon, caption, text, qtButtons, QApplication::activeWindow());
    // Qt has no standard "All" button.
    const QAbstractButton *all =
        (buttons & mbAll) ? box.addButton(QApplication::translate("QPlatformTheme", "All"), QMessageBox::AcceptRole)
                          : nullptr;
    const int pressed = box.exec();
    if (all && box.clickedButton() == all)
        return mbAll;
    for (const auto &m : map)
        if (pressed == m.qt)
            return m.ours;
    return mbCancel;
}

bool TzelWidgetDialogService::InputPassword(const QString &caption, QString &password)
{
    bool ok = false;
    password = QInputDialog::getText(QApplication::activeWindow(), caption, caption, QLineEdit::Password, QString(), &ok);
    return ok;
}

QString TzelWidgetDialogService::QtFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        entries << parts.at(i) + QStringLiteral(" (") + QString(parts.at(i + 1)).replace(u';', u' ') + u')';
    return entries.join(QStringLiteral(";;"));
}

TzelDialogService::FileResult TzelWidgetDialogService::FileDialog(const FileRequest &request)
{
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setAcceptMode(request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (!request.Title.isEmpty())
        dialog.setWindowTitle(request.Title);
    dialog.setFileMode(request.Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.OverwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = QtFilter(request.Filter).split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    dialog.setNameFilters(filters);
    if (request.FilterIndex >= 1 && request.FilterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(request.FilterIndex - 1));
    QString ext = request.DefaultExt;
    if (ext.startsWith(u'.'))
        ext.remove(0, 1);
    dialog.setDefaultSuffix(ext);
    dialog.setDirectory(request.InitialDir);
    dialog.selectFile(request.FileName);

    FileResult result;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return result;
    result.Accepted = true;
    result.FileName = dialog.selectedFiles().constFirst();
    result.FilterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return result;
}

bool TzelWidgetDialogService::InputQuery(const QString &caption, const QString &prompt, QString &value)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(QApplication::activeWindow(), caption, prompt, QLineEdit::Normal, value, &ok);
    if (ok)
        value = text;
    return ok;
}

namespace {

QColor qtColor(int color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

int ourColor(const QColor &color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

} // namespace

bool TzelWidgetDialogService::ColorDialog(int &color)
{
    const QColor chosen = QColorDialog::getColor(qtColor(color), QApplication::activeWindow());
    if (!chosen.isValid())
        return false;
    color = ourColor(chosen);
    return true;
}

bool TzelWidgetDialogService::FontDialog(FontChoice &font)
{
    QFont initial(font.Name);
    initial.setPointSize(qMax(1, font.Size));
    initial.setBold(font.Style & 1);
    initial.setItalic(font.Style & 2);
    initial.setUnderline(font.Style & 4);
    initial.setStrikeOut(font.Style & 8);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, QApplication::activeWindow());
    if (!ok)
        return false;
    font.Name = chosen.family();
    font.Size = chosen.pointSize();
    font.Style = (chosen.bold() ? 1 : 0) | (chosen.italic() ? 2 : 0) | (chosen.underline() ? 4 : 0)
               | (chosen.strikeOut() ? 8 : 0);
    return true;
}

// Qt's print dialog lives in a module the host does not link; the settings
// scripts ask for fit in a small form.
bool TzelWidgetDialogService::PrintDialog(PrintRequest &request)
{
    QDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(request.SetupOnly ? QApplication::translate("QPrintDialog", "Print Setup")
                                            : QApplication::translate("QPrintDialog", "Print"));
    auto *form = new QFormLayout(&dialog);
    auto *copies = new QSpinBox(&dialog);
    copies->setRange(1, 9999);
    copies->setValue(qMax(1, request.Copies));
    auto *collate = new QCheckBox(&dialog);
    collate->setChecked(request.Collate);
    auto *range = new QComboBox(&dialog);
    range->addItems({QApplication::translate("QPrintDialog", "All"), QApplication::translate("QPrintDialog", "Selection"),
                     QApplication::translate("QPrintDialog", "Pages")});
    range->setCurrentIndex(qBound(0, request.Range, 2));
    const int last = request.MaxPage > 0 ? request.MaxPage : 99999;
    auto *from = new QSpinBox(&dialog);
    from->setRange(qMax(0, request.MinPage), last);
    from->setValue(request.FromPage);
    auto *to = new QSpinBox(&dialog);
    to->setRange(qMax(0, request.MinPage), last);
    to->setValue(request.ToPage);
    auto *toFile = new QCheckBox(&dialog);
    toFile->setChecked(request.PrintToFile);
    if (!request.SetupOnly) {
        form->addRow(QApplication::translate("QPrintDialog", "Copies:"), copies);
        form->addRow(QApplication::translate("QPrintDialog", "Collate"), collate);
        form->addRow(QApplication::translate("QPrintDialog", "Pages"), range);
        form->addRow(QApplication::translate("QPrintDialog", "From"), from);
        form->addRow(QApplication::translate("QPrintDialog", "To"), to);
    }
    form->addRow(QApplication::translate("QPrintDialog", "Print to file"), toFile);
    auto *box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(box);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    request.Copies = copies->value();
    request.Collate = collate->isChecked();
    request.Range = range->currentIndex();
    request.FromPage = from->value();
    request.ToPage = to->value();
    request.PrintToFile = toFile->isChecked();
    return true;
}
