#include "script/report/zelclassrtti.h"

#include "base/core/zeldatetime.h"
#include "base/variant/zelformatroutines.h"
#include "model/data/zeldataset.h"
#include "model/data/zelarray.h"
#include "model/data/zelvariables.h"
#include "model/page/zelreportpage.h"
#include "model/report/zelcustompostprocessor.h"
#include "model/reflect/zelclassinfo.h"
#include "model/reflect/zelclassregistry.h"
#include "model/reflect/zelenuminfo.h"
#include "model/report/zelcustomengine.h"
#include "model/report/zelcustomoutline.h"
#include "model/report/zelcustompreviewpages.h"
#include "model/report/zelpagesengine.h"
#include "model/report/zelreport.h"
#include "model/band/zelband.h"
#include "model/style/zelstyles.h"
#include "model/view/zelbrushfill.h"
#include "model/view/zelcustommemoview.h"
#include "model/view/zelglassfill.h"
#include "model/view/zelgradientfill.h"
#include "model/view/zelpictureview.h"
#include "script/engine/kvclassvariable.h"
#include "script/engine/kvscript.h"
#include "script/rtti/kvclassesrtti.h"
#include "script/report/zelreportobjects.h"
#include "script/report/zelscriptobjects.h"

namespace {

using Call = TkvMethodCall;

// Enumerations and sets of the report model, with the names scripts know.
struct EnumDef
{
    const char *Type;
    const char *Names;
};

const EnumDef enumerations[] = {
    {"TzelStretchMode", "smDontStretch, smActualHeight, smMaxHeight"},
    {"TzelShiftMode", "smDontShift, smAlways, smWhenOverlapped"},
    {"TzelDuplexMode", "dmNone, dmVertical, dmHorizontal, dmSimplex"},
    {"TzelAlign", "baNone, baLeft, baRight, baCenter, baWidth, baBottom, baClient, baHidden"},
    {"TzelFrameStyle", "fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble"},
    {"TzelHAlign", "haLeft, haRight, haCenter, haBlock"},
    {"TzelVAlign", "vaTop, vaBottom, vaCenter"},
    {"TzelShapeKind", "skRectangle, skRoundRectangle, skEllipse, skTriangle, skDiamond, skDiagonal1, skDiagonal2"},
    {"TzelZoomMode", "zmDefault, zmWholePage, zmPageWidth, zmManyPages"},
    {"TzelPrintPages", "ppAll, ppOdd, ppEven"},
    {"TzelRangeBegin", "rbFirst, rbCurrent"},
    {"TzelRangeEnd", "reLast, reCurrent, reCount"},
    {"TzelFieldType", "fftNumeric, fftString, fftBoolean"},
    {"TzelFormatKind", "fkText, fkNumeric, fkDateTime, fkBoolean"},
    {"TzelFillType", "ftBrush, ftGradient, ftGlass"},
    {"TzelPrintMode", "pmDefault, pmSplit, pmJoin, pmScale"},
    {"TzelUnderlinesTextMode", "ulmNone, ulmUnderlinesAll, ulmUnderlinesText, ulmUnderlinesTextAndEmptyLines"},
    {"TzelHyperlinkKind", "hkURL, hkAnchor, hkPageNumber, hkDetailReport, hkDetailPage, hkCustom, hkNone"},
    {"TzelProcessAtMode", "paDefault, paReportFinished, paReportPageFinished, paPageFinished, paColumnFinished, "
                          "paDataFinished, paGroupFinished, paCustom"},
};

const EnumDef sets[] = {
    {"TzelFrameTypes", "ftLeft, ftRight, ftTop, ftBottom"},
    {"TzelAnchors", "fraLeft, fraTop, fraRight, fraBottom"},
    {"TzelRestrictions", "rfDontModify, rfDontSize, rfDontMove, rfDontDelete, rfDontEdit, rfDontEditInPreview, "
                         "rfDontCopy"},
    {"TzelPreviewButtons", "pbPrint, pbLoad, pbSave, pbExport, pbZoom, pbFind, pbOutline, pbPageSetup, pbTools, "
                           "pbEdit, pbNavigator, pbExportQuick, pbNoClose, pbNoFullScreen, pbNoEmail, pbCopy, "
                           "pbPaste, pbSelection, pbInplaceEdit"},
    {"TzelDMPFontStyles", "fsxBold, fsxItalic, fsxUnderline, fsxSuperScript, fsxSubScript, fsxCondensed, fsxWide, "
                          "fsx12cpi, fsx15cpi"},
    {"TzelVisibilityTypes", "vsPreview, vsExport, vsPrint"},
};

// Value names taken by an earlier enumeration keep their first meaning.
QString freeNames(const TkvScript &script, const QStringList &names)
{
    QStringList free;
    for (const QString &name : names)
        if (!script.Find(name.trimmed()))
            free << name.trimmed();
    return free.join(QLatin1Char(','));
}

void addEnum(TkvScript &script, const QString &type, const QStringList &names, bool isSet)
{
    if (script.Find(type))
        return;
    const QString free = freeNames(script, names);
    if (isSet)
        script.AddEnumSet(type, free);
    else
        script.AddEnum(type, free);
}

TzelPersistent *objectOf(const Variant &instance)
{
    return TkvObjects::Get<TzelPersistent>(instance);
}

// The script type name of a published property.
QString typeNameOf(TkvScript &script, const TzelPropInfo &prop)
{
    switch (prop.Kind) {
    case TzelPropKind::Integer:
        return QStringLiteral("Integer");
    case TzelPropKind::Color:
        return QStringLiteral("TColor");
    case TzelPropKind::Char:
        return QStringLiteral("Char");
    case TzelPropKind::Boolean:
        return QStringLiteral("Boolean");
    case TzelPropKind::Enum:
    case TzelPropKind::Set:
        if (prop.Enum)
            addEnum(script, prop.TypeName, prop.Enum->Names(), prop.Kind == TzelPropKind::Set);
        return prop.TypeName;
    case TzelPropKind::Int64:
        return QStringLiteral("Int64");
    case TzelPropKind::Float:
        return QStringLiteral("Extended");
    case TzelPropKind::String:
    case TzelPropKind::StringList:
    case TzelPropKind::Event:
        return QStringLiteral("String");
    case TzelPropKind::Variant:
        return QStringLiteral("Variant");
    case TzelPropKind::Object:
    case TzelPropKind::ComponentRef: {
        const TzelClassInfo &info = prop.ObjectClass();
        zelBindClass(script, info);
        return info.ClassName();
    }
    case TzelPropKind::Callback:
        break;
    }
    return QString();
}

void bindProperty(TkvScript &script, TkvClassVariable &binding, const TzelPropInfo &prop)
{
    if (prop.Kind == TzelPropKind::Callback)
        return;
    const QString type = typeNameOf(script, prop);
    const TzelPropInfo *p = &prop;
    if (prop.Kind == TzelPropKind::Object) {
        binding.AddProperty(prop.Name, type, [p](const Variant &instance, const QString &) {
            return zelNestedScriptValue(instance, *p);
        });
        return;
    }
    if (prop.Kind == TzelPropKind::ComponentRef) {
        binding.AddProperty(
            prop.Name, type,
            [p](const Variant &instance, const QString &) {
                TzelPersistent *object = objectOf(instance);
                TzelPersistent *target = object && p->GetRef ? p->GetRef(*object) : nullptr;
                return zelScriptValue(dynamic_cast<TzelComponent *>(target));
            },
            prop.SetRef ? TkvSetValueEvent([p](const Variant &instance, const QString &, const Variant &value) {
                if (TzelPersistent *object = objectOf(instance))
                    p->SetRef(*object, zelScriptObject<TzelPersistent>(value));
            })
                        : TkvSetValueEvent());
        return;
    }
    binding.AddProperty(
        prop.Name, type,
        [p](const Variant &instance, const QString &) {
            const TzelPersistent *object = objectOf(instance);
            return object && p->Get ? p->Get(*object) : Variant::Null();
        },
        prop.Set ? TkvSetValueEvent([p](const Variant &instance, const QString &, const Variant &value) {
            if (TzelPersistent *object = objectOf(instance))
                p->Set(*object, p->Kind == TzelPropKind::Boolean ? Variant(value.ToBool()) : value);
            else
                TkvObjects::RaiseInvalid();
        })
                 : TkvSetValueEvent());
}

// The ancestor binding of a report class whose reflection base is the root.
QString rootAncestor(const TzelClassInfo &info)
{
    return info.InheritsFrom(QStringLiteral("TzelComponent")) ? QStringLiteral("TComponent")
                                                             : QStringLiteral("TPersistent");
}

Variant none()
{
    return Variant::Null();
}

// A string list whose every change is written to text it mirrors (a
// memo's lines, the report's fold state).
class MirroredStrings final : public TkvStringList
{
public:
    using Write = std::function<void(const QStringList &)>;
    MirroredStrings(const QStringList &lines, Write write) : TkvStringList(QStringLiteral("TWideStrings"))
    {
        for (const QString &line : lines)
            Add(line);
        FWrite = std::move(write);
    }

protected:
    void Changed() override
    {
        if (FWrite)
            FWrite(Lines());
    }

private:
    Write FWrite;
};

Variant mirrored(const QStringList &lines, MirroredStrings::Write write)
{
    return TkvBasicObject::Adopt(std::make_shared<MirroredStrings>(lines, std::move(write)));
}

// The lines of a string list a script passes.
QStringList linesOf(const Variant &value)
{
    return TkvBasicObject::Of<TkvStringList>(value).Lines();
}

QList<Variant> valuesOf(const QList<TzelComponent *> &components)
{
    QList<Variant> values;
    values.reserve(components.size());
    for (TzelComponent *c : components)
        values.append(zelScriptValue(c));
    return values;
}

void addComponentMembers(TkvScript &s)
{
    TkvClassVariable *c = s.FindClass(QStringLiteral("TzelComponent"));
    c->AddMethod(QStringLiteral("procedure Clear"), [](Call &call) {
        zelScriptInstance<TzelComponent>(call.Instance)->Clear();
        return none();
    });
    c->AddMethod(QStringLiteral("function FindObject(s: String): TzelComponent"), [](Call &call) {
        return zelScriptValue(zelScriptInstance<TzelComponent>(call.Instance)->FindObject(call.Params[0].ToString()));
    });
    c->AddMethod(QStringLiteral("procedure SetBounds(ALeft, ATop, AWidth, AHeight: Extended)"), [](Call &call) {
        zelScriptInstance<TzelComponent>(call.Instance)
            ->SetBounds(call.Params[0].ToDouble(), call.Params[1].ToDouble(), call.Params[2].ToDouble(),
                        call.Params[3].ToDouble());
        return none();
    });
    c->AddProperty(
        QStringLiteral("Parent"), QStringLiteral("TzelComponent"),
        [](const Variant &instance, const QString &) {
            return zelScriptValue(zelScriptInstance<TzelComponent>(instance)->Parent());
        },
        [](const Variant &instance, const QString &, const Variant &value) {
            zelScriptInstance<TzelComponent>(instance)->SetParent(zelScriptObject<TzelComponent>(value));
        });
    c->AddProperty(QStringLiteral("Objects"), QStringLiteral("TList"), [](const Variant &instance, const QString &) {
        return kvNewList(valuesOf(zelScriptInstance<TzelComponent>(instance)->Objects()));
    });
    c->AddProperty(QStringLiteral("AllObjects"), QStringLiteral("TList"), [](const Variant &instance, const QString &) {
        return kvNewList(valuesOf(zelScriptInstance<TzelComponent>(instance)->AllObjects()));
    });
    c->AddProperty(QStringLiteral("Page"), QStringLiteral("TzelPage"), [](const Variant &instance, const QString &) {
        TzelComponent *page = zelScriptInstance<TzelComponent>(instance);
        while (page && !zelAs<TzelPage>(page))
            page = page->Parent();
        return zelScriptValue(page);
    });
    c->AddMethod(QStringLiteral("procedure LoadFromStream(Stream: TStream)"), [](Call &call) {
        zelScriptInstance<TzelComponent>(call.Instance)
            ->LoadFromStream(&TkvBasicObject::Of<TkvStream>(call.Params[0]).Device());
        return none();
    });
    c->AddMethod(QStringLiteral("procedure SaveToStream(Stream: TStream; SaveChildren: Boolean = True)"),
                 [](Call &call) {
                     zelScriptInstance<TzelComponent>(call.Instance)
                         ->SaveToStream(&TkvBasicObject::Of<TkvStream>(call.Params[0]).Device(),
                                        call.Params.size() < 2 || call.Params[1].ToBool());
                     return none();
                 });
    c->AddProperty(QStringLiteral("AbsLeft"), QStringLiteral("Extended"), [](const Variant &instance, const QString &) {
        return Variant(zelScriptInstance<TzelComponent>(instance)->AbsLeft());
    });
    c->AddProperty(QStringLiteral("AbsTop"), QStringLiteral("Extended"), [](const Variant &instance, const QString &) {
        return Variant(zelScriptInstance<TzelComponent>(instance)->AbsTop());
    });

    TkvClassVariable *view = s.FindClass(QStringLiteral("TzelView"));
    view->AddProperty(
        QStringLiteral("TagStr"), QStringLiteral("String"),
        [](const Variant &instance, const QString &) { return Variant(zelScriptInstance<TzelView>(instance)->TagStr); },
        [](const Variant &instance, const QString &, const Variant &value) {
            zelScriptInstance<TzelView>(instance)->TagStr = value.ToString();
        });
    s.FindClass(QStringLiteral("TzelStretcheable"))
        ->AddMethod(QStringLiteral("function CalcHeight: Extended"), [](Call &call) {
            return Variant(zelScriptInstance<TzelStretcheable>(call.Instance)->CalcHeight());
        });
    TkvClassVariable *memo = s.FindClass(QStringLiteral("TzelCustomMemoView"));
    // Text is Unicode throughout: AnsiText is the same text.
    for (const char *name : {"Text", "AnsiText"})
        memo->AddProperty(
            QString::fromLatin1(name), QStringLiteral("String"),
            [](const Variant &instance, const QString &) {
                return Variant(zelScriptInstance<TzelCustomMemoView>(instance)->Text());
            },
            [](const Variant &instance, const QString &, const Variant &value) {
                zelScriptInstance<TzelCustomMemoView>(instance)->SetText(value.ToString());
            });
    memo->AddProperty(
        QStringLiteral("Lines"), QStringLiteral("TWideStrings"),
        [](const Variant &instance, const QString &) {
            // Changes to the list go to the memo while it lives.
            return mirrored(zelScriptInstance<TzelCustomMemoView>(instance)->Memo, [instance](const QStringList &lines) {
                zelScriptInstance<TzelCustomMemoView>(instance)->Memo = lines;
            });
        },
        [](const Variant &instance, const QString &, const Variant &value) {
            zelScriptInstance<TzelCustomMemoView>(instance)->Memo = linesOf(value);
        });
    memo->AddMethod(QStringLiteral("function CalcWidth: Extended"), [](Call &call) {
        return Variant(zelScriptInstance<TzelCustomMemoView>(call.Instance)->CalcWidth());
    });
    memo->AddProperty(
        QStringLiteral("Value"), QStringLiteral("Variant"),
        [](const Variant &instance, const QString &) { return zelScriptInstance<TzelCustomMemoView>(instance)->Value; });
    s.FindClass(QStringLiteral("TzelPictureView"))
        ->AddMethod(QStringLiteral("procedure LoadFromFile(filename: String)"), [](Call &call) {
            call.Script.CheckAllowed(QStringLiteral("TzelPictureView.LoadFromFile"));
            zelScriptInstance<TzelPictureView>(call.Instance)->LoadFromFile(call.Params[0].ToString());
            return none();
        });
    s.FindClass(QStringLiteral("TzelBand"))
        ->AddProperty(QStringLiteral("Overflow"), QStringLiteral("Boolean"), [](const Variant &instance, const QString &) {
            return Variant(zelScriptInstance<TzelBand>(instance)->Overflow);
        });
    if (TkvClassVariable *fill = s.FindClass(QStringLiteral("TzelCustomFill"))) {
        const auto as = [fill](const char *syntax, auto kind) {
            fill->AddMethod(QString::fromLatin1(syntax), [](Call &call) {
                using Kind = typename decltype(kind)::type;
                return dynamic_cast<Kind *>(zelScriptInstance<TzelCustomFill>(call.Instance)) ? call.Instance
                                                                                               : Variant(0);
            });
        };
        as("function AsBrushFill: TzelBrushFill", std::type_identity<TzelBrushFill>());
        as("function AsGradientFill: TzelGradientFill", std::type_identity<TzelGradientFill>());
        as("function AsGlassFill: TzelGlassFill", std::type_identity<TzelGlassFill>());
    }
    s.FindClass(QStringLiteral("TzelReportPage"))->AddMethod(QStringLiteral("procedure AlignChildren"), [](Call &call) {
        zelScriptInstance<TzelReportPage>(call.Instance)->AlignChildren();
        return none();
    });
}

void addDataSetMembers(TkvScript &s)
{
    TkvClassVariable *d = s.FindClass(QStringLiteral("TzelDataSet"));
    const auto step = [d](const char *syntax, void (TzelDataSet::*op)()) {
        d->AddMethod(QString::fromLatin1(syntax), [op](Call &call) {
            (zelScriptInstance<TzelDataSet>(call.Instance)->*op)();
            return none();
        });
    };
    step("procedure Open", &TzelDataSet::Open);
    step("procedure Close", &TzelDataSet::Close);
    step("procedure First", &TzelDataSet::First);
    step("procedure Next", &TzelDataSet::Next);
    step("procedure Prior", &TzelDataSet::Prior);
    d->AddMethod(QStringLiteral("function Eof: Boolean"),
                 [](Call &call) { return Variant(zelScriptInstance<TzelDataSet>(call.Instance)->Eof()); });
    d->AddMethod(QStringLiteral("function FieldsCount: Integer"),
                 [](Call &call) { return Variant(zelScriptInstance<TzelDataSet>(call.Instance)->FieldsCount()); });
    d->AddMethod(QStringLiteral("function RecordCount: Integer"),
                 [](Call &call) { return Variant(zelScriptInstance<TzelDataSet>(call.Instance)->RecordCount()); });
    d->AddMethod(QStringLiteral("function HasField(const fName: String): Boolean"), [](Call &call) {
        QStringList fields;
        zelScriptInstance<TzelDataSet>(call.Instance)->GetFieldList(fields);
        return Variant(fields.contains(call.Params[0].ToString(), Qt::CaseInsensitive));
    });
    d->AddMethod(QStringLiteral("function IsBlobField(const fName: String): Boolean"), [](Call &call) {
        return Variant(zelScriptInstance<TzelDataSet>(call.Instance)->IsBlobField(call.Params[0].ToString()));
    });
    d->AddProperty(QStringLiteral("RecNo"), QStringLiteral("Integer"), [](const Variant &instance, const QString &) {
        return Variant(zelScriptInstance<TzelDataSet>(instance)->RecNo());
    });
    d->AddIndexProperty(QStringLiteral("Value"), QStringLiteral("String"), QStringLiteral("Variant"),
                        [](Call &call) {
                            return zelScriptInstance<TzelDataSet>(call.Instance)->GetValue(call.Params[0].ToString());
                        },
                        true);
    d->AddIndexProperty(QStringLiteral("DisplayText"), QStringLiteral("String"), QStringLiteral("String"),
                        [](Call &call) {
                            return Variant(
                                zelScriptInstance<TzelDataSet>(call.Instance)->GetDisplayText(call.Params[0].ToString()));
                        },
                        true);
    d->AddIndexProperty(QStringLiteral("DisplayWidth"), QStringLiteral("String"), QStringLiteral("Integer"),
                        [](Call &call) {
                            return Variant(
                                zelScriptInstance<TzelDataSet>(call.Instance)->GetDisplayWidth(call.Params[0].ToString()));
                        },
                        true);
    d->AddIndexProperty(QStringLiteral("FieldType"), QStringLiteral("String"), QStringLiteral("TzelFieldType"),
                        [](Call &call) {
                            return Variant(int(
                                zelScriptInstance<TzelDataSet>(call.Instance)->GetFieldType(call.Params[0].ToString())));
                        },
                        true);
}

void addReportMembers(TkvScript &s)
{
    TkvClassVariable *r = s.FindClass(QStringLiteral("TzelReport"));
    r->AddMethod(QStringLiteral("function Calc(const Expr: String): Variant"), [](Call &call) {
        return zelScriptInstance<TzelReport>(call.Instance)->CalcFromScript(call.Params[0].ToString());
    });
    r->AddMethod(QStringLiteral("function GetDataset(const Alias: String): TzelDataset"), [](Call &call) {
        return zelScriptValue(zelScriptInstance<TzelReport>(call.Instance)->GetDataset(call.Params[0].ToString()));
    });
    r->AddMethod(QStringLiteral("function LoadFromFile(const FileName: String): Boolean"), [](Call &call) {
        call.Script.CheckAllowed(QStringLiteral("TzelReport.LoadFromFile"));
        TzelReport *report = zelScriptInstance<TzelReport>(call.Instance);
        if (report->IsReportActionRunning())
            throw TzelException(QStringLiteral("A report cannot load a template while it is being built"));
        return Variant(report->LoadFromFile(call.Params[0].ToString()));
    });
    r->AddMethod(QStringLiteral("procedure SaveToFile(const FileName: String)"), [](Call &call) {
        call.Script.CheckAllowed(QStringLiteral("TzelReport.SaveToFile"));
        zelScriptInstance<TzelReport>(call.Instance)->SaveToFile(call.Params[0].ToString());
        return none();
    });
    r->AddMethod(QStringLiteral("procedure ShowReport"), [](Call &call) {
        call.Script.CheckAllowed(QStringLiteral("TzelReport.ShowReport"));
        zelScriptInstance<TzelReport>(call.Instance)->ShowReport();
        return none();
    });
    r->AddMethod(QStringLiteral("procedure PrepareReport"), [](Call &call) {
        zelScriptInstance<TzelReport>(call.Instance)->PrepareReport();
        return none();
    });
    r->AddProperty(
        QStringLiteral("Terminated"), QStringLiteral("Boolean"),
        [](const Variant &instance, const QString &) { return Variant(zelScriptInstance<TzelReport>(instance)->Terminated); },
        [](const Variant &instance, const QString &, const Variant &value) {
            zelScriptInstance<TzelReport>(instance)->Terminated = value.ToBool();
        });
    r->AddProperty(QStringLiteral("Variables"), QStringLiteral("TzelVariables"),
                   [](const Variant &instance, const QString &) {
                       TzelReport *report = zelScriptInstance<TzelReport>(instance);
                       return zelVariablesValue(&report->Variables(), report);
                   });
    r->AddProperty(QStringLiteral("Styles"), QStringLiteral("TzelStyles"), [](const Variant &instance, const QString &) {
        TzelReport *report = zelScriptInstance<TzelReport>(instance);
        return zelStylesValue(&report->Styles(), report);
    });
    r->AddProperty(QStringLiteral("DrillState"), QStringLiteral("TStrings"), [](const Variant &instance, const QString &) {
        return mirrored(zelScriptInstance<TzelReport>(instance)->DrillState, [instance](const QStringList &lines) {
            zelScriptInstance<TzelReport>(instance)->DrillState = lines;
        });
    });
}

void addStyles(TkvScript &s)
{
    zelBindClass(s, TzelStyleItem::StaticClassInfo());
    TkvClassVariable *c = s.AddClass(QStringLiteral("TzelStyles"), QStringLiteral("TPersistent"));
    const auto styles = zelHelperInstance<TzelStyles>;
    c->AddConstructor(QStringLiteral("constructor Create(AReport: TzelReport)"), [](Call &call) {
        return zelAdoptStyles(std::make_shared<TzelStyles>(call.Params.empty() ? nullptr : zelScriptObject<TzelReport>(call.Params[0])));
    });
    c->AddDefaultProperty(QStringLiteral("Items"), QStringLiteral("Integer"), QStringLiteral("TzelStyleItem"),
                          [styles](Call &call) {
                              TzelStyles *object = styles(call.Instance);
                              const int index = call.Params[0].ToInt();
                              if (index < 0 || index >= object->Count())
                                  throw TzelException(QStringLiteral("List index out of bounds (%1)").arg(index));
                              return zelScriptValue(object->Items(index), object->Report());
                          },
                          true);
    c->AddMethod(QStringLiteral("function Add: TzelStyleItem"), [styles](Call &call) {
        TzelStyles *object = styles(call.Instance);
        return zelScriptValue(object->Add(), object->Report());
    });
    c->AddMethod(QStringLiteral("function Find(const Name: String): TzelStyleItem"), [styles](Call &call) {
        TzelStyles *object = styles(call.Instance);
        return zelScriptValue(object->Find(call.Params[0].ToString()), object->Report());
    });
    c->AddMethod(QStringLiteral("procedure Apply"), [styles](Call &call) {
        styles(call.Instance)->Apply();
        return none();
    });
    c->AddMethod(QStringLiteral("procedure GetList(List: TStrings)"), [styles](Call &call) {
        TkvStringList &list = TkvBasicObject::Of<TkvStringList>(call.Params[0]);
        list.Clear();
        for (const QString &name : styles(call.Instance)->GetList())
            list.Add(name);
        return none();
    });
    c->AddMethod(QStringLiteral("procedure LoadFromFile(const FileName: String)"), [styles](Call &call) {
        call.Script.CheckAllowed(QStringLiteral("TzelStyles.LoadFromFile"));
        styles(call.Instance)->LoadFromFile(call.Params[0].ToString());
        return none();
    });
    c->AddMethod(QStringLiteral("procedure SaveToFile(const FileName: String)"), [styles](Call &call) {
        call.Script.CheckAllowed(QStringLiteral("TzelStyles.SaveToFile"));
        styles(call.Instance)->SaveToFile(call.Params[0].ToString());
        return none();
    });
    c->AddMethod(QStringLiteral("procedure LoadFromStream(Stream: TStream)"), [styles](Call &call) {
        styles(call.Instance)->LoadFromStream(&TkvBasicObject::Of<TkvStream>(call.Params[0]).Device());
        return none();
    });
    c->AddMethod(QStringLiteral("procedure SaveToStream(Stream: TStream)"), [styles](Call &call) {
        styles(call.Instance)->SaveToStream(&TkvBasicObject::Of<TkvStream>(call.Params[0]).Device());
        return none();
    });
}

void addPostProcessor(TkvScript &s)
{
    TkvClassVariable *c = s.AddClass(QStringLiteral("TzelPostProcessor"), QStringLiteral("TPersistent"));
    const auto processor = zelHelperInstance<TzelCustomPostProcessor>;
    c->AddMethod(QStringLiteral("function GetMacroList(const MacroName: String): TWideStrings"),
                 [processor](Call &call) {
                     const QStringList *values = processor(call.Instance)->GetMacroList(call.Params[0].ToString());
                     return mirrored(values ? *values : QStringList(), {});
                 });
    c->AddMethod(QStringLiteral("procedure ResetDuplicates(BandName: String = '')"), [processor](Call &call) {
        processor(call.Instance)->ResetDuplicates(call.Params.empty() ? QString() : call.Params[0].ToString());
        return none();
    });
}

void addHelperClasses(TkvScript &s)
{
    TkvClassVariable *vars = s.AddClass(QStringLiteral("TzelVariables"), QStringLiteral("TPersistent"));
    vars->AddDefaultProperty(QStringLiteral("Variables"), QStringLiteral("String"), QStringLiteral("Variant"),
                          [](Call &call) {
                              TzelVariables *variables = zelHelperInstance<TzelVariables>(call.Instance);
                              const QString name = call.Params[0].ToString();
                              if (call.Name.endsWith(QLatin1String(".SET")))
                                  variables->SetValue(name, call.Params[1]);
                              return variables->Value(name);
                          });
    vars->AddConstructor(QStringLiteral("constructor Create"),
                         [](Call &) { return zelAdoptVariables(std::make_shared<TzelVariables>()); });
    s.AddVariable(QStringLiteral("zelGlobalVariables"), QStringLiteral("TzelVariables"),
                  zelVariablesValue(&zelGlobalVariables(), nullptr));

    TkvClassVariable *array = s.AddClass(QStringLiteral("TzelArray"), QStringLiteral("TPersistent"));
    array->AddConstructor(QStringLiteral("constructor Create"),
                          [](Call &) { return zelAdoptArray(std::make_shared<TzelArray>()); });
    array->AddDefaultProperty(QStringLiteral("Variables"), QStringLiteral("Variant"), QStringLiteral("Variant"),
                              [](Call &call) {
                                  TzelArray *values = zelHelperInstance<TzelArray>(call.Instance);
                                  if (call.Name.endsWith(QLatin1String(".SET")))
                                      values->Set(call.Params[0], call.Params[1]);
                                  return values->Get(call.Params[0]);
                              });

    addStyles(s);
    addPostProcessor(s);

    TkvClassVariable *e = s.AddClass(QStringLiteral("TzelCustomEngine"), QStringLiteral("TPersistent"));
    const auto engine = zelHelperInstance<TzelCustomEngine>;
    e->AddMethod(QStringLiteral("procedure NewPage"), [engine](Call &call) {
        engine(call.Instance)->NewPage();
        return none();
    });
    e->AddMethod(QStringLiteral("procedure NewColumn"), [engine](Call &call) {
        engine(call.Instance)->NewColumn();
        return none();
    });
    e->AddMethod(QStringLiteral("procedure StopReport"), [engine](Call &call) {
        engine(call.Instance)->StopReport();
        return none();
    });
    e->AddMethod(QStringLiteral("procedure ShowBand(Band: TzelBand)"), [engine](Call &call) {
        if (TzelBand *band = zelScriptObject<TzelBand>(call.Params[0]))
            engine(call.Instance)->ShowBand(band);
        return none();
    });
    e->AddMethod(QStringLiteral("procedure AddAnchor(const Text: String)"), [engine](Call &call) {
        if (TzelCustomPreviewPages *pages = engine(call.Instance)->PreviewPages())
            pages->AddAnchor(call.Params[0].ToString());
        return none();
    });
    e->AddMethod(QStringLiteral("function GetAnchorPage(const Text: String): Integer"), [engine](Call &call) {
        TzelCustomPreviewPages *pages = engine(call.Instance)->PreviewPages();
        return Variant(pages ? pages->GetAnchorPage(call.Params[0].ToString()) : 1);
    });
    e->AddMethod(QStringLiteral("function GetPostProcessor: TzelPostProcessor"), [engine](Call &call) {
        TzelCustomEngine *object = engine(call.Instance);
        TzelCustomPreviewPages *pages = object->PreviewPages();
        return pages ? zelPostProcessorValue(&pages->CustomPostProcessor(), object->Report()) : Variant(0);
    });
    e->AddMethod(QStringLiteral("function FreeSpace: Extended"),
                 [engine](Call &call) { return Variant(engine(call.Instance)->FreeSpace()); });
    e->AddMethod(QStringLiteral("procedure ProcessObject(ReportObject: TzelView)"), [engine](Call &call) {
        if (TzelView *view = zelScriptObject<TzelView>(call.Params[0]))
            engine(call.Instance)->ProcessObject(view);
        return none();
    });
    e->AddProperty(QStringLiteral("CurLine"), QStringLiteral("Integer"), [engine](const Variant &instance, const QString &) {
        return Variant(engine(instance)->CurLine());
    });
    e->AddProperty(QStringLiteral("TotalPages"), QStringLiteral("Integer"),
                   [engine](const Variant &instance, const QString &) { return Variant(engine(instance)->TotalPages()); });
    e->AddProperty(QStringLiteral("FinalPass"), QStringLiteral("Boolean"),
                   [engine](const Variant &instance, const QString &) { return Variant(engine(instance)->FinalPass()); });
    s.AddClass(QStringLiteral("TzelEngine"), QStringLiteral("TzelCustomEngine"));

    TkvClassVariable *p = s.AddClass(QStringLiteral("TzelCustomPreviewPages"), QStringLiteral("TObject"));
    const auto pages = zelHelperInstance<TzelCustomPreviewPages>;
    p->AddProperty(QStringLiteral("Count"), QStringLiteral("Integer"),
                   [pages](const Variant &instance, const QString &) { return Variant(pages(instance)->Count()); });
    p->AddProperty(
        QStringLiteral("CurPage"), QStringLiteral("Integer"),
        [pages](const Variant &instance, const QString &) { return Variant(pages(instance)->CurPage()); },
        [pages](const Variant &instance, const QString &, const Variant &value) {
            pages(instance)->SetCurPage(value.ToInt());
        });
    TkvClassVariable *prepared = s.AddClass(QStringLiteral("TzelPreviewPages"), QStringLiteral("TzelCustomPreviewPages"));
    prepared->AddMethod(QStringLiteral("procedure ModifyObject(Component: TzelComponent)"), [pages](Call &call) {
        if (TzelComponent *component = zelScriptObject<TzelComponent>(call.Params[0]))
            pages(call.Instance)->ModifyObject(component);
        return none();
    });
    prepared->AddIndexProperty(QStringLiteral("Page"), QStringLiteral("Integer"), QStringLiteral("TzelReportPage"),
                               [pages](Call &call) {
                                   TzelCustomPreviewPages *object = pages(call.Instance);
                                   const int index = call.Params[0].ToInt();
                                   if (index < 0 || index >= object->Count())
                                       throw TzelException(QStringLiteral("There is no page %1 of %2 pages")
                                                               .arg(index)
                                                               .arg(object->Count()));
                                   return zelScriptValue(object->GetPage(index));
                               },
                               true);

    TkvClassVariable *o = s.AddClass(QStringLiteral("TzelCustomOutline"), QStringLiteral("TPersistent"));
    const auto outline = zelHelperInstance<TzelCustomOutline>;
    o->AddMethod(QStringLiteral("procedure AddItem(const Text: String)"), [outline](Call &call) {
        TzelCustomOutline *object = outline(call.Instance);
        const TzelPagesEngine *building = object->PreviewPages() ? object->PreviewPages()->Engine : nullptr;
        object->AddItem(call.Params[0].ToString(), building ? int(building->CurY()) : 0);
        return none();
    });
    o->AddMethod(QStringLiteral("procedure LevelRoot"), [outline](Call &call) {
        outline(call.Instance)->LevelRoot();
        return none();
    });
    o->AddMethod(QStringLiteral("procedure LevelUp"), [outline](Call &call) {
        outline(call.Instance)->LevelUp();
        return none();
    });
    s.AddClass(QStringLiteral("TzelOutline"), QStringLiteral("TzelCustomOutline"));
}

void addFunctions(TkvScript &s)
{
    const auto datePart = [&s](const char *syntax, const char *picture) {
        const QString format = QString::fromLatin1(picture);
        s.AddMethod(QString::fromLatin1(syntax),
                    [format](Call &call) { return Variant(zelFormatDateTime(format, call.Params[0].ToDate()).toInt()); },
                    QStringLiteral("ctDate"));
    };
    datePart("function DayOf(Date: TDateTime): Integer", "d");
    datePart("function MonthOf(Date: TDateTime): Integer", "m");
    datePart("function YearOf(Date: TDateTime): Integer", "yyyy");
    s.AddMethod(QStringLiteral("function IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant"),
                [](Call &call) { return call.Params[0].ToBool() ? call.Params[1] : call.Params[2]; },
                QStringLiteral("ctOther"));
    // Outside a report there is nothing to total: the report's own versions
    // replace these in its script.
    for (const char *name : {"SUM", "AVG", "MIN", "MAX"})
        s.AddMethod(QStringLiteral("function %1(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant")
                        .arg(QLatin1String(name)),
                    [](Call &) { return Variant::Null(); }, QStringLiteral("ctAggregate"));
    s.AddMethod(QStringLiteral("function COUNT(Band: Variant = 0; Flags: Integer = 0): Variant"),
                [](Call &) { return Variant::Null(); }, QStringLiteral("ctAggregate"));
}

} // namespace

void zelBindClass(TkvScript &script, const TzelClassInfo &info)
{
    if (script.FindClass(info.ClassName()) || info.ClassName() == QLatin1String("TzelPersistent"))
        return;
    const TzelClassInfo *base = info.Base();
    const bool rootBase = !base || base->ClassName() == QLatin1String("TzelPersistent");
    if (!rootBase)
        zelBindClass(script, *base);
    TkvClassVariable *binding = script.AddClass(info.ClassName(), rootBase ? rootAncestor(info) : base->ClassName());
    if (!binding)
        return;
    // The ancestors' properties are found through the ancestor bindings.
    for (const TzelPropInfo *prop : info.Properties())
        if (!base || base->FindProperty(prop->Name) != prop)
            bindProperty(script, *binding, *prop);
}

TzelClassRTTI::TzelClassRTTI(TkvScript *script) : TkvRTTIModule(script)
{
    TkvScript &s = *script;
    const QString extended = QStringLiteral("Extended");
    s.AddConst(QStringLiteral("qz01cm"), extended, Variant(3.77953));
    s.AddConst(QStringLiteral("qz1cm"), extended, Variant(37.7953));
    s.AddConst(QStringLiteral("qz01in"), extended, Variant(9.6));
    s.AddConst(QStringLiteral("qz1in"), extended, Variant(96.0));
    s.AddConst(QStringLiteral("qz1CharX"), extended, Variant(9.6));
    s.AddConst(QStringLiteral("qz1CharY"), extended, Variant(17.0));
    const QString integer = QStringLiteral("Integer");
    s.AddConst(QStringLiteral("clTransparent"), integer, Variant(536870911));
    s.AddConst(QStringLiteral("crHand"), integer, Variant(150));
    s.AddConst(QStringLiteral("crZoom"), integer, Variant(151));
    s.AddConst(QStringLiteral("crFormat"), integer, Variant(152));
    for (const EnumDef &e : enumerations)
        addEnum(s, QString::fromLatin1(e.Type), QString::fromLatin1(e.Names).split(QLatin1Char(',')), false);
    for (const EnumDef &e : sets)
        addEnum(s, QString::fromLatin1(e.Type), QString::fromLatin1(e.Names).split(QLatin1Char(',')), true);

    addHelperClasses(s);
    for (const TzelClassInfo *info : TzelClassRegistry::Classes())
        zelBindClass(s, *info);
    zelBindClass(s, TzelReport::StaticClassInfo());
    addComponentMembers(s);
    addDataSetMembers(s);
    addReportMembers(s);
    addFunctions(s);
}
