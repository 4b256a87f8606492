// This build's product.
#include "app/product_profile.h"

namespace veltra {

ProductProfile ThisProduct() {
    ProductProfile profile;
    profile.applicationName = "Veltra吉林快3平刷和值大小";
    profile.programName = profile.applicationName;
    profile.applicationId = 2111;
    profile.planName = "和值大小";
    profile.planTitle = profile.planName;
    profile.version = "1.41";
    return profile;
}

}  // namespace veltra
