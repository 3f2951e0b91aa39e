#include "host/widgetdialogservice.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

int TzelWidgetDialogService::MessageBox(const QString &text, const QString &caption, int buttons, Icon icon)
{
    static const struct { int ours; QMessageBox::StandardButton qt; } map[] = {
        {mbOK, QMessageBox::Ok}, {mbCancel, QMessageBox::Cancel}, {mbYes, QMessageBox::Yes}, {mbNo, QMessageBox::No}};
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
    const int pressed = box.exec();
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
