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
        return (buttons & mbCancel) ? mbCancel : (buttons & mbNo) ? mbNo : mbOK;
    }
    bool InputPassword(const QString &, QString &) override { return false; }
    FileResult FileDialog(const FileRequest &) override { return {}; }
};

TzelDialogService *installed = nullptr;

} // namespace

TzelDialogService::~TzelDialogService() = default;

TzelDialogService &TzelDialogService::Instance()
{
    static ConsoleDialogService console;
    return installed ? *installed : console;
}

void TzelDialogService::SetInstance(TzelDialogService *service)
{
    installed = service;
}
