#include "model/io/zelnode.h"

#include <QBuffer>
#include <QPointer>
#include <gtest/gtest.h>

namespace {

QStringList childNames(const TzelNode &node)
{
    QStringList names;
    for (int i = 0; i < node.Count(); ++i)
        names << node.Nodes(i)->Name();
    return names;
}

} // namespace

TEST(ZelNode, KeepsChildrenSortedAndFindsNamesCaseInsensitively)
{
    TzelNode root;
    root.Add(QStringLiteral("beta"));
    TzelNode *alpha = root.Add(QStringLiteral("Alpha"));
    root.Add(QStringLiteral("gamma"));
    TzelNode *deep = alpha->Add(QStringLiteral("Deep"));
    EXPECT_EQ(childNames(root), QStringList({"Alpha", "beta", "gamma"}));

    EXPECT_EQ(root.Find(QStringLiteral("ALPHA"), false), alpha);
    EXPECT_EQ(root.Find(QStringLiteral("deep"), false), nullptr);
    EXPECT_EQ(root.Find(QStringLiteral("deep"), true), deep);
    EXPECT_EQ(deep->Root(), &root);

    // A rename moves the child to its new place.
    alpha->SetName(QStringLiteral("zeta"));
    EXPECT_EQ(childNames(root), QStringList({"beta", "gamma", "zeta"}));
    EXPECT_EQ(root.Find(QStringLiteral("Zeta"), false), alpha);
}

TEST(ZelNode, FindsObjectsDepthFirstInChildOrder)
{
    QBuffer a, b;
    TzelNode root;
    TzelNode *first = root.Add(QStringLiteral("a"));
    TzelNode *inner = first->Add(QStringLiteral("inner"), &b);
    TzelNode *second = root.Add(QStringLiteral("b"), &b);
    root.Add(QStringLiteral("c"), &a);
    for (int i = 0; i < root.Count(); ++i)
        root.Nodes(i)->SetOwnsObject(false);
    inner->SetOwnsObject(false);

    EXPECT_EQ(root.Find(&b, true), inner);
    EXPECT_EQ(root.Find(&b, false), second);
    EXPECT_EQ(root.Find(&a, true), root.Nodes(2));
}

TEST(ZelNode, FilesCountFollowsObjectsAndOriginalNamesUpTheChain)
{
    TzelNode root;
    TzelNode *folder = root.Add(QStringLiteral("folder"));
    TzelNode *sub = folder->Add(QStringLiteral("sub"));
    EXPECT_EQ(root.FilesCount(), 0);

    TzelNode *file = sub->Add(QStringLiteral("a.txt"), new QBuffer);
    EXPECT_EQ(file->FilesCount(), 1);
    EXPECT_EQ(folder->FilesCount(), 1);
    EXPECT_EQ(root.FilesCount(), 1);

    // Object and original name on one node still make one file; it stops
    // counting only when both are gone, whichever goes last.
    file->SetOriginalName(QStringLiteral("folder\\sub\\a.txt"));
    EXPECT_EQ(root.FilesCount(), 1);
    file->SetOriginalName(QString());
    EXPECT_EQ(root.FilesCount(), 1);
    file->SetOriginalName(QStringLiteral("folder\\sub\\a.txt"));
    QIODevice *stream = file->ObjectData();
    file->SetObjectData(nullptr);
    delete stream;
    EXPECT_EQ(root.FilesCount(), 1) << "a closed stream node is still a file";
    file->SetOriginalName(QString());
    EXPECT_EQ(root.FilesCount(), 0);
    file->SetObjectData(stream = new QBuffer);
    EXPECT_EQ(root.FilesCount(), 1);
    file->SetObjectData(nullptr);
    delete stream;
    EXPECT_EQ(root.FilesCount(), 0);

    folder->Add(QStringLiteral("b.txt"))->SetOriginalName(QStringLiteral("b.txt"));
    sub->Add(QStringLiteral("c.txt"), new QBuffer);
    EXPECT_EQ(root.FilesCount(), 2);

    root.RemoveNode(folder);
    EXPECT_EQ(root.FilesCount(), 0);
    EXPECT_EQ(folder->Parent(), nullptr);
    EXPECT_EQ(folder->FilesCount(), 2);
    root.RemoveNode(folder); // no longer a child: ignored
    EXPECT_EQ(root.FilesCount(), 0);

    TzelNode *again = root.Add(QStringLiteral("again"));
    again->Add(QStringLiteral("x"), new QBuffer);
    EXPECT_EQ(root.FilesCount(), 1);
    delete again->Nodes(0); // a freed child leaves its parent
    EXPECT_EQ(again->Count(), 0);
    EXPECT_EQ(root.FilesCount(), 0);
    delete folder;
}

TEST(ZelNode, ClearFreesChildrenAndOwnedObjectsOnly)
{
    QPointer<QBuffer> owned = new QBuffer;
    QBuffer kept;
    TzelNode root(QStringLiteral("root"));
    TzelNode *folder = root.Add(QStringLiteral("folder"));
    folder->Add(QStringLiteral("owned"), owned);
    folder->Add(QStringLiteral("kept"), &kept)->SetOwnsObject(false);
    EXPECT_EQ(root.FilesCount(), 2);

    folder->Clear();
    EXPECT_TRUE(owned.isNull());
    EXPECT_EQ(folder->Count(), 0);
    EXPECT_TRUE(folder->Name().isEmpty());
    EXPECT_EQ(root.FilesCount(), 0);
    EXPECT_EQ(root.Count(), 1);
}

TEST(ZelNode, TellsTheRootAboutNamesAndObjects)
{
    QStringList log;
    auto recorder = [&log](const char *what) {
        return [&log, what](const QString &name, bool replacing, QIODevice *object) {
            log << QStringLiteral("%1 %2%3%4")
                       .arg(QLatin1StringView(what), name, replacing ? QStringLiteral(" replacing") : QString(),
                            object ? QStringLiteral(" +obj") : QString());
        };
    };
    TzelNode root;
    TzelNode *folder = root.Add(QStringLiteral("folder"));
    root.SetOnAddItem(recorder("add"));

    QBuffer first, second;
    TzelNode *file = folder->Add(QStringLiteral("a"));
    file->SetOwnsObject(false);
    folder->SetName(QStringLiteral("renamed")); // only one event set: nothing
    root.SetOnRemoveItem(recorder("remove"));
    file->SetName(QStringLiteral("b"));
    file->SetObjectData(&first);
    file->SetObjectData(&second);
    file->SetObjectData(nullptr);

    EXPECT_EQ(log, QStringList({
                       "add a",
                       "remove a replacing",
                       "add b replacing",
                       "add b +obj",
                       "remove b replacing +obj",
                       "add b replacing +obj",
                       "remove b +obj",
                   }));
}
