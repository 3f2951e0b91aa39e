#include "base/services/zeldialogservice.h"

#include <cstdio>

namespace {

// Used when no host installed a service: never blocks, never opens a window.
class ConsoleDialogService final : public TzelDialogService
{
public:
    int MessageBox(const QString &text, const QString &caption, int buttons, Icon) override
    {
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(caption), qUtf8Printable(text));
        // The answer that does least: a refusal when one is offered.
        for (const Button refusal : {mbCancel, mbNo, mbAbort, mbIgnore, mbNoToAll})
            if (buttons & refusal)
                return refusal;
        return mbOK;
    }
    bool InputPassword(const QString &, QString &) override { return false; }
    FileResult FileDialog(const FileRequest &) override { return {}; }
};

TzelDialogService *installed = nullptr;

} // namespace

TzelDialogService::~TzelDialogService() = default;

bool TzelDialogService::InputQuery(const QString &, const QString &, QString &)
{
    return false;
}

bool TzelDialogService::ColorDialog(int &)
{
    return false;
}

bool TzelDialogService::FontDialog(FontChoice &)
{
    return false;
}

bool TzelDialogService::PrintDialog(PrintRequest &)
{
    return false;
}

TzelDialogService &TzelDialogService::Instance()
{
    static ConsoleDialogService console;
    return installed ? *installed : console;
}

void TzelDialogService::SetInstance(TzelDialogService *service)
{
    installed = service;
}
