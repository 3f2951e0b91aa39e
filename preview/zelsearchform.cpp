#include "preview/zelsearchform.h"

#include "base/resources/zelresources.h"
#include "preview/zelpreview.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int hitRole = Qt::UserRole;
constexpr int pageRole = Qt::UserRole + 1;

} // namespace

TzelSearchForm::TzelSearchForm(TzelPreview *preview)
    : edtFind(new QLineEdit), btnFind(new QPushButton(zelRes("300"))), chkBeg(new QCheckBox(zelRes("304"))),
      chkCase(new QCheckBox(zelRes("305"))), chkFindAll(new QCheckBox(zelRes("306"))), trvFind(new QTreeWidget),
      FPreview(preview)
{
    setObjectName(QStringLiteral("TzelSearchForm"));
    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(4, 4, 4, 4);
    box->addWidget(new QLabel(zelRes("301")));
    box->addWidget(edtFind);
    box->addWidget(btnFind);
    auto *options = new QGroupBox(zelRes("302"));
    auto *optionsLayout = new QVBoxLayout(options);
    for (QCheckBox *check : {chkBeg, chkCase, chkFindAll})
        optionsLayout->addWidget(check);
    box->addWidget(options);
    trvFind->setHeaderHidden(true);
    trvFind->setIndentation(19);
    trvFind->hide();
    box->addWidget(trvFind, 1);
    // Keeps the controls at the top while the result tree is hidden.
    auto *rest = new QWidget;
    box->addWidget(rest, 1);
    resize(183, height());

    connect(edtFind, &QLineEdit::returnPressed, this, &TzelSearchForm::RunFind);
    connect(btnFind, &QPushButton::clicked, this, &TzelSearchForm::RunFind);
    connect(chkFindAll, &QCheckBox::toggled, this, [this, rest](bool on) {
        trvFind->clear();
        FHits.clear();
        trvFind->setVisible(on);
        rest->setVisible(!on);
    });
    connect(trvFind, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (!item)
            return;
        if (const QVariant hit = item->data(0, hitRole); hit.isValid())
            FPreview->ShowHit(FHits.value(hit.toInt()));
        else
            FPreview->SetPageNo(item->data(0, pageRole).toInt());
    });
}

void TzelSearchForm::FocusText()
{
    edtFind->setFocus();
    edtFind->selectAll();
}

void TzelSearchForm::RunFind()
{
    const QString text = edtFind->text();
    const bool caseSensitive = chkCase->isChecked();
    const bool findAll = chkFindAll->isChecked();
    if (findAll && FLastFindAll && text == FLastText && caseSensitive == FLastCase)
        return;
    FLastText = text;
    FLastCase = caseSensitive;
    FLastFindAll = findAll;
    trvFind->clear();
    FHits.clear();
    if (findAll) {
        FPreview->FindAll(text, caseSensitive);
        return;
    }
    FPreview->FindText(text, chkBeg->isChecked(), caseSensitive);
    FPreview->setFocus();
}

void TzelSearchForm::ShowHits(const QList<TzelSearchHit> &hits)
{
    trvFind->clear();
    FHits = hits;
    QTreeWidgetItem *pageNode = nullptr;
    int page = -1;
    for (int i = 0; i < hits.size(); ++i) {
        if (hits[i].PageIndex != page) {
            page = hits[i].PageIndex;
            pageNode = new QTreeWidgetItem(trvFind, {zelRes("202") + QLatin1Char(' ') + QString::number(page + 1)});
            pageNode->setData(0, pageRole, page + 1);
        }
        auto *item = new QTreeWidgetItem(pageNode, {hits[i].Context});
        item->setData(0, hitRole, i);
    }
    trvFind->expandAll();
}

void TzelSearchForm::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() & Qt::ControlModifier && event->key() == Qt::Key_F) {
        FPreview->SetFindFmVisible(false);
        return;
    }
    QWidget::keyPressEvent(event);
}
