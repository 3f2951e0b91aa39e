#pragma once
/// \file

#include "preview/zelpreviewsearch.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class TzelPreview;

/// The search pane docked at the right of the preview: the text to find,
/// the options, and with "Show all found" a tree of every match by page.
class TzelSearchForm : public QWidget
{
    Q_OBJECT

public:
    /// Creates the pane for Preview.
    explicit TzelSearchForm(TzelPreview *preview);

    /// Gives the text box the focus with its text selected.
    void FocusText();
    /// Fills the result tree with Hits under one node per page, fully expanded.
    void ShowHits(const QList<TzelSearchHit> &hits);
    /// Runs the search the pane is set up for.
    void RunFind();

    QLineEdit *edtFind; ///< the text searched for
    QPushButton *btnFind; ///< runs the search
    QCheckBox *chkBeg; ///< search from the first page, not the current one
    QCheckBox *chkCase; ///< case sensitive
    QCheckBox *chkFindAll; ///< list every hit
    QTreeWidget *trvFind; ///< the hits, by page

protected:
    /// Ctrl+F hides the pane.
    void keyPressEvent(QKeyEvent *event) override;

private:
    TzelPreview *FPreview;
    QList<TzelSearchHit> FHits;
    QString FLastText;
    bool FLastCase = false;
    bool FLastFindAll = false;
};
