#include "SetupContext.h"

#include "ExpandPathMacros.h"
#include "PathText.h"
#include "Script.h"
#include "Texts.h"

namespace setup {

void FillSetupContext(SetupContext &ctx, const SetupPlatform &platform) {
    const CodePage cp(platform);
    ctx.modulePath = platform.ModulePath();
    ctx.setupFolder = FolderPart(cp, ctx.modulePath);
    ctx.scriptPath = JoinPath(cp, ctx.setupFolder, "setup.ini");
    ctx.licenceAccepted = false;
    ctx.language = platform.SystemDefaultLocale();
    ctx.os = platform.Version();
    ctx.browserVersion = platform.RegistryString(
        RootKey::LocalMachine, "Software\\Microsoft\\Internet Explorer", "Version");

    const Script script(platform, ctx.scriptPath);
    ctx.productName = script.Value("Setup", "Name");
    const std::string setupText = platform.LoadText(LocalisedTextId(TextSetup, ctx.language));
    ctx.caption = ctx.productName.empty() ? setupText : ctx.productName + " " + setupText;
    ctx.installFolder = script.Value("Root", "Name", ctx.productName);
    ExpandPathMacros(ctx.installFolder, "", platform);
    ctx.errorCode = ErrorFatal;
    ctx.abortFlag = false;
}

} // namespace setup
