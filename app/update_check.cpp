// The update check.
#include "app/update_check.h"

#include <cstdlib>
#include <system_error>

#include "app/process_exit.h"

namespace veltra {

float VersionNumber(std::string_view text) {
    size_t end = 0;
    while (end < text.size() && (text[end] >= '0' && text[end] <= '9')) ++end;
    if (end < text.size() && text[end] == '.') {
        ++end;
        while (end < text.size() && (text[end] >= '0' && text[end] <= '9')) ++end;
    }
    if (end == 0 || text.substr(0, end) == ".") return 0.0f;
    return std::strtof(std::string(text.substr(0, end)).c_str(), nullptr);
}

std::filesystem::path UpdaterPath(const Environment& environment) {
    return environment.executableDirectory / "更新器";
}

bool UpdateCheck::RunStartup(std::string_view window, std::string_view planBox) {
    if (!ConnectServer()) return false;
    if (!CheckVersion(context.appInfo.version, context.appInfo.proupurl)) return false;
    context.planDisplay.Bind(window, planBox, context.profile.planName);
    return true;
}

bool UpdateCheck::ConnectServer() {
    const int32_t id = context.profile.applicationId;
    if (!context.client.Init(context.environment.mainEndpoint, id) &&
        !context.client.Init(context.environment.fallbackEndpoint, id)) {
        context.loading.Close();
        context.windows.ShowMessage(context.client.LastError(), MessageButtons::Ok);
        return false;
    }
    context.appInfo = context.client.GetAppInfo();
    return true;
}

bool UpdateCheck::CheckVersion(std::string_view serverVersion, std::string_view downloadAddress) {
    if (!(VersionNumber(serverVersion) > VersionNumber(context.profile.version))) return true;
    context.loading.Close();
    context.windows.ProcessPendingEvents();
    const std::string offer = context.profile.applicationName + "已经更新至" +
                              std::string(serverVersion) + "\r\n点击确定立即更新";
    if (context.windows.ShowMessage(offer, MessageButtons::OkCancel) != MessageResult::Ok)
        return false;
    RunUpdater(context, context.profile.applicationName, context.profile.version, serverVersion,
               downloadAddress, context.profile.programName + ".exe");
}

void RunUpdater(AppContext& context, std::string_view name, std::string_view ownVersion,
                std::string_view serverVersion, std::string_view address, std::string_view exe) {
    std::error_code error;
    // An absolute path: a bare name would be looked up on PATH.
    const std::filesystem::path updater =
        std::filesystem::absolute(UpdaterPath(context.environment), error);
    // Always our own bytes: a file someone put at that path is replaced, not started.
    const bool written =
        !error && context.environment.writeUpdater && context.environment.writeUpdater(updater);
    if (written) {
        // Five separate words; a word holding a blank stays one word.
        context.launcher.Launch(
            updater.string(), {std::string(name), std::string(ownVersion),
                               std::string(serverVersion), std::string(address), std::string(exe)});
    }
    EndProcess(0);
}

}  // namespace veltra
