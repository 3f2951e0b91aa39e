#include "script/gui/kvdialogsrtti.h"

#include "base/resources/zelresources.h"
#include "base/services/zeldialogservice.h"
#include "script/engine/kvscript.h"
#include "script/engine/kvvariables.h"
#include "script/gui/kvgraphics.h"
#include "script/gui/kvguibinder.h"
#include "script/gui/kvguiobjects.h"

#include <QCoreApplication>
#include <QHash>

namespace {

using Call = TkvMethodCall;
using Service = TzelDialogService;

// What the dialog components keep between their runs.
class DialogComponent final : public QObject
{
public:
    Service::FileRequest File;
    int Options = 0;
    int Color = 0;
    std::shared_ptr<TkvFont> Font = std::make_shared<TkvFont>();
    int Device = 0;
    Service::PrintRequest Print;
};

DialogComponent &dialog(const Variant &self)
{
    return kvGui<DialogComponent>(self);
}

// The buttons of TMsgDlgButtons, bit by bit, and what each answers.
const struct
{
    int Service;
    int ModalResult;
} kButtons[] = {
    {Service::mbYes, 6},   {Service::mbNo, 7},         {Service::mbOK, 1},        {Service::mbCancel, 2},
    {Service::mbAbort, 3}, {Service::mbRetry, 4},      {Service::mbIgnore, 5},    {Service::mbAll, 8},
    {Service::mbNoToAll, 9}, {Service::mbYesToAll, 10}, {Service::mbHelp, 0},
};

int messageDlg(const QString &text, int type, int buttons)
{
    int asked = 0;
    for (size_t bit = 0; bit < std::size(kButtons); ++bit)
        if (buttons & (1 << bit))
            asked |= kButtons[bit].Service;
    if (!asked)
        asked = Service::mbOK;
    static const Service::Icon icons[] = {Service::miWarning, Service::miError, Service::miInformation,
                                          Service::miQuestion, Service::miNone};
    const QString captions[] = {kvGuiMessage("SGuiWarning"), zelRes("mbError"), zelRes("mbInfo"), zelRes("mbConfirm"),
                                QCoreApplication::applicationName()};
    const int kind = type >= 0 && type < int(std::size(icons)) ? type : 4;
    const int pressed = Service::Instance().MessageBox(text, captions[kind], asked, icons[kind]);
    for (const auto &b : kButtons)
        if (b.Service == pressed)
            return b.ModalResult;
    return 0;
}

// A property kept in a field of the dialog component.
template <class Field>
void field(TkvBinder &b, const char *name, const char *type, Field DialogComponent::*member)
{
    b.Prop(
        name, type, [member](const Variant &self) { return Variant(dialog(self).*member); },
        [member](const Variant &self, const Variant &value) {
            if constexpr (std::is_same_v<Field, QString>)
                dialog(self).*member = value.ToString();
            else if constexpr (std::is_same_v<Field, bool>)
                dialog(self).*member = value.ToBool();
            else
                dialog(self).*member = kvSetOf(value);
        });
}

// A property kept in a member of a request the dialog component holds.
template <class Request, class Field>
void requestField(TkvBinder &b, const char *name, const char *type, Request DialogComponent::*request,
                  Field Request::*member)
{
    b.Prop(
        name, type, [request, member](const Variant &self) { return Variant(dialog(self).*request.*member); },
        [request, member](const Variant &self, const Variant &value) {
            if constexpr (std::is_same_v<Field, QString>)
                dialog(self).*request.*member = value.ToString();
            else if constexpr (std::is_same_v<Field, bool>)
                dialog(self).*request.*member = value.ToBool();
            else
                dialog(self).*request.*member = value.ToInt();
        });
}

constexpr int ofOverwritePrompt = 2;

bool execute(DialogComponent &d, const QString &className)
{
    Service &service = Service::Instance();
    if (className == QLatin1String("TOpenDialog") || className == QLatin1String("TSaveDialog")) {
        Service::FileRequest request = d.File;
        request.Save = className == QLatin1String("TSaveDialog");
        request.OverwritePrompt = d.Options & ofOverwritePrompt;
        const Service::FileResult result = service.FileDialog(request);
        if (!result.Accepted)
            return false;
        d.File.FileName = result.FileName;
        d.File.FilterIndex = result.FilterIndex;
        return true;
    }
    if (className == QLatin1String("TColorDialog"))
        return service.ColorDialog(d.Color);
    if (className == QLatin1String("TFontDialog")) {
        Service::FontChoice font{d.Font->Name, d.Font->Size, d.Font->Style, d.Font->Color};
        if (!service.FontDialog(font))
            return false;
        d.Font->Name = font.Name;
        d.Font->Size = font.Size;
        d.Font->Style = font.Style;
        d.Font->Color = font.Color;
        return true;
    }
    Service::PrintRequest request = d.Print;
    request.SetupOnly = className == QLatin1String("TPrinterSetupDialog");
    if (!service.PrintDialog(request))
        return false;
    d.Print = request;
    d.Print.SetupOnly = false;
    return true;
}

TkvCallMethodEvent constructorOf(const QString &className)
{
    return [className](Call &call) {
        auto *d = new DialogComponent;
        kvSetGuiClass(d, className);
        // Without an owner the application frees it when it ends, so a
        // script that never frees it leaks nothing.
        if (QObject *owner = kvGuiObjectOf(call.Params[0]))
            kvSetOwner(d, owner);
        else
            d->setParent(QCoreApplication::instance());
        return kvGuiObject(d);
    };
}

void addDialogs(TkvScript &s)
{
    TkvBinder common(s, QStringLiteral("TCommonDialog"), QStringLiteral("TComponent"));
    kvAddComponentMembers(common);
    common.Constructor("constructor Create(AOwner: TComponent)", constructorOf(QStringLiteral("TCommonDialog")));
    common.Method("function Execute: Boolean", [](Call &call) {
        DialogComponent &d = dialog(call.Instance);
        const QString className = kvGuiClassName(&d);
        call.Script.CheckAllowed(className + QStringLiteral(".Execute"));
        return Variant(execute(d, className));
    });

    const std::pair<const char *, const char *> kinds[] = {
        {"TOpenDialog", "TCommonDialog"}, {"TSaveDialog", "TOpenDialog"},   {"TColorDialog", "TCommonDialog"},
        {"TFontDialog", "TCommonDialog"}, {"TPrintDialog", "TCommonDialog"}, {"TPrinterSetupDialog", "TCommonDialog"},
    };
    QHash<QString, TkvClassVariable *> made;
    for (const auto &[name, ancestor] : kinds) {
        const QString className = QString::fromLatin1(name);
        TkvBinder kind(s, className, QString::fromLatin1(ancestor));
        kind.Constructor("constructor Create(AOwner: TComponent)", constructorOf(className));
        made.insert(className, kind.Class());
    }

    TkvBinder open(s, made.value(QStringLiteral("TOpenDialog")));
    requestField(open, "FileName", "String", &DialogComponent::File, &Service::FileRequest::FileName);
    requestField(open, "Filter", "String", &DialogComponent::File, &Service::FileRequest::Filter);
    requestField(open, "FilterIndex", "Integer", &DialogComponent::File, &Service::FileRequest::FilterIndex);
    requestField(open, "InitialDir", "String", &DialogComponent::File, &Service::FileRequest::InitialDir);
    requestField(open, "DefaultExt", "String", &DialogComponent::File, &Service::FileRequest::DefaultExt);
    requestField(open, "Title", "String", &DialogComponent::File, &Service::FileRequest::Title);
    field(open, "Options", "TOpenOptions", &DialogComponent::Options);

    TkvBinder color(s, made.value(QStringLiteral("TColorDialog")));
    color.Prop(
        "Color", "TColor", [](const Variant &self) { return Variant(dialog(self).Color); },
        [](const Variant &self, const Variant &value) { dialog(self).Color = value.ToInt(); });
    field(color, "Options", "TColorDialogOptions", &DialogComponent::Options);

    TkvBinder font(s, made.value(QStringLiteral("TFontDialog")));
    font.Prop(
        "Font", "TFont", [](const Variant &self) { return kvGraphicsRef(dialog(self).Font.get()); },
        [](const Variant &self, const Variant &value) {
            if (const TkvFont *source = kvGraphicsAs<TkvFont>(value))
                dialog(self).Font->Assign(*source);
        });
    field(font, "Options", "TFontDialogOptions", &DialogComponent::Options);
    font.Prop(
        "Device", "TFontDialogDevice", [](const Variant &self) { return Variant(dialog(self).Device); },
        [](const Variant &self, const Variant &value) { dialog(self).Device = value.ToInt(); });

    TkvBinder print(s, made.value(QStringLiteral("TPrintDialog")));
    using Print = Service::PrintRequest;
    requestField(print, "Copies", "Integer", &DialogComponent::Print, &Print::Copies);
    requestField(print, "Collate", "Boolean", &DialogComponent::Print, &Print::Collate);
    requestField(print, "FromPage", "Integer", &DialogComponent::Print, &Print::FromPage);
    requestField(print, "ToPage", "Integer", &DialogComponent::Print, &Print::ToPage);
    requestField(print, "MinPage", "Integer", &DialogComponent::Print, &Print::MinPage);
    requestField(print, "MaxPage", "Integer", &DialogComponent::Print, &Print::MaxPage);
    requestField(print, "PrintRange", "TPrintRange", &DialogComponent::Print, &Print::Range);
    requestField(print, "PrintToFile", "Boolean", &DialogComponent::Print, &Print::PrintToFile);
    field(print, "Options", "TPrintDialogOptions", &DialogComponent::Options);
}

void addFunctions(TkvScript &s)
{
    const QString other = QStringLiteral("ctOther");
    kvTypeParams(s, s.AddMethod(
                        QStringLiteral("function MessageDlg(Msg: string; DlgType: TMsgDlgType; Buttons: TMsgDlgButtons; "
                                       "HelpCtx: Longint): Integer"),
                        [](Call &call) {
                            call.Script.CheckAllowed(QStringLiteral("MessageDlg"));
                            return Variant(messageDlg(call.Params[0].ToString(), call.Params[1].ToInt(),
                                                      kvSetOf(call.Params[2])));
                        },
                        other));
    s.AddMethod(
        QStringLiteral("function InputBox(ACaption, APrompt, ADefault: string): string"),
        [](Call &call) {
            call.Script.CheckAllowed(QStringLiteral("InputBox"));
            QString value = call.Params[2].ToString();
            if (!Service::Instance().InputQuery(call.Params[0].ToString(), call.Params[1].ToString(), value))
                value = call.Params[2].ToString();
            return Variant(value);
        },
        other);
    s.AddMethod(
        QStringLiteral("function InputQuery(ACaption, APrompt: string; var Value: string): Boolean"),
        [](Call &call) {
            call.Script.CheckAllowed(QStringLiteral("InputQuery"));
            QString value = call.Params[2].IsNull() ? QString() : call.Params[2].ToString();
            const bool accepted =
                Service::Instance().InputQuery(call.Params[0].ToString(), call.Params[1].ToString(), value);
            if (accepted)
                call.Params[2] = Variant(value);
            return Variant(accepted);
        },
        other);
}

} // namespace

TkvDialogsRTTI::TkvDialogsRTTI(TkvScript *script) : TkvRTTIModule(script)
{
    TkvScript &s = *script;
    kvAddEnum(s, QStringLiteral("TOpenOptions"),
              QStringLiteral("ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate, "
                             "ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, "
                             "ofCreatePrompt, ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, "
                             "ofNoLongNames, ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify, "
                             "ofEnableSizing"),
              true);
    kvAddEnum(s, QStringLiteral("TFileEditStyle"), QStringLiteral("fsEdit, fsComboBox"));
    kvAddEnum(s, QStringLiteral("TColorDialogOptions"),
              QStringLiteral("cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor"), true);
    kvAddEnum(s, QStringLiteral("TFontDialogOptions"),
              QStringLiteral("fdAnsiOnly, fdTrueTypeOnly, fdEffects, fdFixedPitchOnly, fdForceFontExist, fdNoFaceSel, "
                             "fdNoOEMFonts, fdNoSimulations, fdNoSizeSel, fdNoStyleSel, fdNoVectorFonts, fdShowHelp, "
                             "fdWysiwyg, fdLimitSize, fdScalableOnly, fdApplyButton"),
              true);
    kvAddEnum(s, QStringLiteral("TFontDialogDevice"), QStringLiteral("fdScreen, fdPrinter, fdBoth"));
    kvAddEnum(s, QStringLiteral("TPrintRange"), QStringLiteral("prAllPages, prSelection, prPageNums"));
    kvAddEnum(s, QStringLiteral("TPrintDialogOptions"),
              QStringLiteral("poPrintToFile, poPageNums, poSelection, poWarning, poHelp, poDisablePrintToFile"), true);
    kvAddEnum(s, QStringLiteral("TMsgDlgType"), QStringLiteral("mtWarning, mtError, mtInformation, mtConfirmation, mtCustom"));
    kvAddEnum(s, QStringLiteral("TMsgDlgButtons"),
              QStringLiteral("mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, "
                             "mbHelp"),
              true);
    addDialogs(s);
    addFunctions(s);
}
