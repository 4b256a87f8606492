// Start-up steps.
#include "app/startup_tasks.h"

#include "app/update_check.h"
#include "draws/draw_service.h"

namespace veltra {

bool StartupTasks::RunUpdateCheck(std::string_view window, std::string_view planBox) {
    UpdateCheck check(context);
    return check.RunStartup(window, planBox);
}

bool StartupTasks::RunDrawStartup() {
    DrawService service(context);
    return service.RunStartup();
}

}  // namespace veltra
