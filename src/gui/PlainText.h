#pragma once

#include <QString>

namespace sentravex {

// A text that came from disk, a manifest or the network, as a tooltip. The toolkit shows a
// tooltip that looks like markup as rich text and loads what its images name, on the main
// thread: a name such as `X<img src="...">` would open that path when hovered. Escaped inside a
// rich-text wrapper that keeps white space, the text shows as it is and loads nothing. An empty
// text stays empty: no tooltip.
QString plainToolTip(const QString& text);

} // namespace sentravex
