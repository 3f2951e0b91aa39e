#pragma once

// Helpers shared by the band, page and style tests: pinned number formats,
// template round trips, and probing every published property of an object.
#include "modeltest.h"
#include "model/component/zelcomponent.h"
#include "model/reflect/zelenuminfo.h"
#include "support/testsupport.h"

#include <algorithm>
#include <cmath>
#include <functional>

using BandTest = ModelTest;

/// The component a reference property of a probed object should point to.
using TzelRefTarget = std::function<TzelPersistent *(const TzelPropInfo &)>;

/// Gives every writable property of Obj (nested objects included, the top
/// level Name and callbacks excepted) a value other than its declared
/// default, or other than the current one when it has none.
inline void zelProbeProperties(TzelPersistent &obj, const TzelRefTarget &refTarget, bool top = true)
{
    for (const TzelPropInfo *prop : obj.ClassInfo().Properties()) {
        const TzelPropInfo &p = *prop;
        if ((top && p.Name == QLatin1StringView("Name")) || p.Kind == TzelPropKind::Callback)
            continue;
        if (p.Kind == TzelPropKind::Object) {
            zelProbeProperties(*p.Nested(obj), refTarget, false);
            continue;
        }
        if (p.Kind == TzelPropKind::ComponentRef) {
            p.SetRef(obj, refTarget(p));
            continue;
        }
        if (!p.Set)
            continue;
        const Variant base = p.Default ? *p.Default : p.Get(obj);
        switch (p.Kind) {
        case TzelPropKind::Boolean:
            p.Set(obj, Variant(!base.ToBool()));
            break;
        case TzelPropKind::Enum:
            p.Set(obj, Variant((base.ToInt() + 1) % p.Enum->Count()));
            break;
        case TzelPropKind::Set: {
            qint64 bits = qint64(1) << (p.Enum->Count() - 1);
            if (bits == base.ToInt64())
                bits = 1;
            p.Set(obj, Variant(bits));
            break;
        }
        case TzelPropKind::Color:
            p.Set(obj, Variant(base.ToInt() == 255 ? 65280 : 255));
            break;
        case TzelPropKind::Integer:
            p.Set(obj, Variant(base.ToInt() + 7));
            break;
        case TzelPropKind::Int64:
            p.Set(obj, Variant(base.ToInt64() + 7));
            break;
        case TzelPropKind::Char:
            p.Set(obj, Variant(int(u'Q')));
            break;
        case TzelPropKind::Float:
            p.Set(obj, Variant(base.ToDouble() + 12.5));
            break;
        case TzelPropKind::StringList:
            p.Set(obj, Variant(QStringLiteral("one\r\ntwo")));
            break;
        default:
            p.Set(obj, Variant(QStringLiteral("Probe") + p.Name));
            break;
        }
    }
}

/// The properties of Obj (nested ones as dotted names) that still hold
/// their declared default, ignoring those the class never stores.
inline QStringList zelPropertiesAtDefault(const TzelPersistent &obj, const QString &prefix = QString())
{
    QStringList names;
    for (const TzelPropInfo *prop : obj.ClassInfo().Properties()) {
        if (!prop->IsStored(obj))
            continue;
        if (prop->Kind == TzelPropKind::Object)
            names += zelPropertiesAtDefault(*prop->Nested(obj), prefix + prop->Name + u'.');
        else if (prop->HoldsDefault(obj))
            names << prefix + prop->Name;
    }
    return names;
}

/// Expects every property of A and B (nested ones included) to hold the
/// same value; references must name the same component.
inline void zelExpectSameProperties(const TzelPersistent &a, const TzelPersistent &b,
                                    const QString &path = QString())
{
    ASSERT_EQ(a.ClassName(), b.ClassName()) << qPrintable(path);
    for (const TzelPropInfo *prop : a.ClassInfo().Properties()) {
        const TzelPropInfo &p = *prop;
        const QString where = path + p.Name;
        switch (p.Kind) {
        case TzelPropKind::Callback:
            break;
        case TzelPropKind::Object:
            zelExpectSameProperties(*p.Nested(a), *p.Nested(b), where + u'.');
            break;
        case TzelPropKind::ComponentRef: {
            const auto *ra = dynamic_cast<const TzelComponent *>(p.GetRef(a));
            const auto *rb = dynamic_cast<const TzelComponent *>(p.GetRef(b));
            EXPECT_EQ(ra ? ra->Name() : QString(), rb ? rb->Name() : QString()) << qPrintable(where);
            break;
        }
        case TzelPropKind::Float: {
            // Templates keep 15 significant digits.
            const double x = p.Get(a).ToDouble(), y = p.Get(b).ToDouble();
            EXPECT_NEAR(x, y, 1e-12 * std::max(1.0, std::fabs(x))) << qPrintable(where);
            break;
        }
        default:
            if (p.Get) {
                EXPECT_TRUE(Variant::Identical(p.Get(a), p.Get(b)))
                    << qPrintable(where) << ": " << qPrintable(p.Get(a).ToString()) << " against "
                    << qPrintable(p.Get(b).ToString());
            }
            break;
        }
    }
}
