// The draw start-up: registers the product's plan, points the advert box at its
// page, takes the newest draw, fetches the recent draws, fills the live panel and
// the history list and rebuilds the plan from them.
#pragma once

#include "app/app_context.h"

namespace veltra {

class DrawService {
  public:
    explicit DrawService(AppContext& context) : context(context) {}

    // True when the draws are in place; false after the user was told why not.
    bool RunStartup();
    bool FetchAndShowDraws();

  private:
    AppContext& context;
};

// The newest count draws into list (exactly count records, fresh ones where the
// server sent fewer rows; surplus rows are dropped). On failure the user is told,
// the list is left as it was and false returned.
bool FetchRecentDraws(AppContext& context, int count, RecentDraws& list);

}  // namespace veltra
