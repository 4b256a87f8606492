// The draw start-up.
#include "draws/draw_service.h"

#include "app/main_window_design.h"
#include "base/text_integer.h"
#include "draws/draw_display.h"

namespace veltra {
namespace {

constexpr int kRecentDraws = 50;

}  // namespace

bool DrawService::RunStartup() {
    context.loading.Close();
    context.planBook.AddPlanByType(context.profile.planName, context.profile.planTitle,
                                   context.view.ReadPeriodSetting());
    context.planBook.SetHistoryLimit(0);
    context.planBook.SetHitPercent(80);
    context.planBook.SetResetOnMisses(0);
    return FetchAndShowDraws();
}

bool DrawService::FetchAndShowDraws() {
    DrawSnapshot latest;
    context.windows.ProcessPendingEvents();
    context.windows.SetBrowserAddress(kMainWindow, control::kAdvertBox, context.appInfo.advert1);
    context.windows.ProcessPendingEvents();
    context.periodClock.Poll(latest);
    FetchRecentDraws(context, kRecentDraws, context.recentDraws);
    if (context.recentDraws.Count() == 0) {
        context.windows.ShowMessage("获取网络开奖数据失败！", MessageButtons::Ok);
        return false;
    }
    ShowLatestDraw(context.view, latest);
    for (int i = context.recentDraws.Count(); i >= 1; --i)
        AddDrawRow(context.view, context.recentDraws.At(i));
    context.planDisplay.Rebuild(context.state.periodCount);
    return true;
}

bool FetchRecentDraws(AppContext& context, int count, RecentDraws& list) {
    DrawTable table;
    if (!context.client.SelectDraw(count, table)) {
        context.windows.ShowMessage("查询最近开奖数据失败！" + context.client.LastError(),
                                    MessageButtons::Ok);
        return false;
    }
    list.Resize(count);
    // A table with more rows than asked for keeps the first count; a row with fewer
    // than five cells leaves the missing fields empty.
    for (int r = 1; r <= std::min(count, table.Rows()); ++r) {
        DrawRecord& record = list[r];
        record.tag = table.Cell(r, 1);
        record.period = table.Cell(r, 2);
        record.drawTime = table.Cell(r, 3);
        record.numbers = table.Cell(r, 4);
        record.seed = Int32OfText(table.Cell(r, 5));
    }
    return true;
}

}  // namespace veltra
