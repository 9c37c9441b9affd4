#include "app/about_box.h"

#include "engine/text.h"

namespace tav::app {

std::u16string versionText() {
    using engine::decimalText;
    return decimalText(version.major) + u"." + decimalText(version.minor) + u"." +
           decimalText(version.revision);
}

AboutBoxText loadAboutBox() {
    AboutBoxText about;
    about.title = u"About " + std::u16string(applicationTitle);
    about.versionLine = u"Version " + versionText();
    about.appTitle = std::u16string(applicationTitle);
    about.description = u"Enter a Solid Edge draft file of an assembly file and run the macro.";
    about.description2 =
        u"Select the views that you want to change to the colors used in the assembly.  The "
        u"views may be selected before the macro is run.  If no views are selected, the macro "
        u"will process all views.";
    about.description3 =
        u"The macro will use the assembly style for each occurrence (part, sheet metal), if "
        u"defined.  If there is no assembly style, the macro will use the occurrence body style, "
        u"if defined.  The occurrence body style is defined in the occurrence (use Format - Part "
        u"Painter).  Face or feature styles are not used by the macro.";
    return about;
}

}  // namespace tav::app
