#include "model/serial/zelcomponentcopier.h"

#include "base/core/zelexception.h"
#include "model/component/zelcomponent.h"
#include "model/reflect/zelclassinfo.h"
#include "model/serial/zelpropstream.h"
#include "model/serial/zelserialhooks.h"

namespace {

// The collections an object keeps apart from its properties.
void copyNested(const TzelComponent &source, TzelComponent &target)
{
    if (&source.ClassInfo() != &target.ClassInfo())
        return;
    if (auto *owner = dynamic_cast<TzelNestedPropertiesOwner *>(&target))
        owner->CopyNestedProperties(source);
}

QString joined(const QString &where, const QString &name)
{
    return where.isEmpty() ? name : where + u'.' + name;
}

} // namespace

TzelComponentCopier::TzelComponentCopier(TzelComponent *nameOwner)
    : FNameOwner(nameOwner)
{
}

void TzelComponentCopier::Refuse(const QString &where, const QString &message)
{
    TzelLocatedError error;
    error.Where = where;
    error.Message = message;
    Errors << error;
}

void TzelComponentCopier::CopyProperties(const TzelPersistent &source, TzelPersistent &target, bool copyName)
{
    CopyInto(source, target, copyName, zelPathOf(&target));
}

void TzelComponentCopier::CopyInto(const TzelPersistent &source, TzelPersistent &target, bool copyName,
                                   const QString &where)
{
    const TzelClassInfo &targetClass = target.ClassInfo();
    const bool sameClass = &targetClass == &source.ClassInfo();
    for (const TzelPropInfo *p : source.ClassInfo().Properties()) {
        if (!p->IsStored(source) || (!copyName && p->Name == QLatin1StringView("Name")))
            continue;
        const TzelPropInfo *q = sameClass ? p : targetClass.FindProperty(p->Name);
        if (!q || q->Kind != p->Kind)
            continue;
        try {
            switch (p->Kind) {
            case TzelPropKind::Object:
                CopyInto(*p->Nested(source), *q->Nested(target), false, joined(where, p->Name));
                break;
            case TzelPropKind::ComponentRef:
                if (q->SetRef) {
                    const auto *ref = dynamic_cast<const TzelComponent *>(p->GetRef(source));
                    if (!FNameOwner)
                        q->SetRef(target, const_cast<TzelComponent *>(ref));
                    else
                        FReferences.append({&target, q, ref ? ref->Name() : QString()});
                }
                break;
            case TzelPropKind::Callback:
                break;
            default:
                if (q->Set)
                    q->Set(target, p->Get(source));
                break;
            }
        } catch (const TzelException &e) {
            Refuse(joined(where, p->Name), e.message());
        }
    }
    if (const auto *text = dynamic_cast<const TzelTextOwner *>(&source))
        if (auto *targetText = dynamic_cast<TzelTextOwner *>(&target))
            targetText->SetStoredText(text->StoredText());
    const QByteArray data = zelWritePropData(source);
    if (!data.isEmpty()) {
        try {
            zelReadPropData(target, data);
        } catch (const TzelException &e) {
            Refuse(where, e.message());
        }
    }
}

void TzelComponentCopier::CopyTree(const TzelComponent &source, TzelComponent &target)
{
    if (!target.AncestorOnlyStream)
        target.Clear();
    QList<TzelComponent *> copied;
    target.SetIsLoading(true);
    copied << &target;
    CopyInto(source, target, false, QString());
    copyNested(source, target);
    CopyChildren(source, target, copied);
    ResolveReferences();
    for (TzelComponent *c : std::as_const(copied)) {
        c->SetIsLoading(false);
        if (c != &target)
            c->Loaded();
    }
}

void TzelComponentCopier::CopyChildren(const TzelComponent &source, TzelComponent &target,
                                       QList<TzelComponent *> &copied)
{
    TzelComponent *names = FNameOwner ? FNameOwner : &target;
    for (const TzelComponent *child : source.Objects()) {
        // An object of that name already there (an inherited one) is updated.
        TzelComponent *copy = child->Name().isEmpty() ? nullptr : names->FindObject(child->Name());
        if (!copy) {
            std::unique_ptr<TzelPersistent> made(child->ClassInfo().Create());
            copy = dynamic_cast<TzelComponent *>(made.get());
            if (!copy)
                continue;
            made.release();
            copy->SetParent(&target);
        }
        copy->SetIsLoading(true);
        copied << copy;
        CopyInto(*child, *copy, true, zelPathOf(child));
        copyNested(*child, *copy);
        CopyChildren(*child, *copy, copied);
    }
}

void TzelComponentCopier::ResolveReferences()
{
    for (const Reference &r : std::as_const(FReferences)) {
        TzelComponent *found = r.Name.isEmpty() ? nullptr : FNameOwner->FindObject(r.Name);
        // A name not found leaves the reference as it is, as in a template.
        if (!found && !r.Name.isEmpty())
            continue;
        try {
            r.Prop->SetRef(*r.Target, found);
        } catch (const TzelException &e) {
            Refuse(joined(zelPathOf(r.Target), r.Prop->Name), e.message());
        }
    }
    FReferences.clear();
}
