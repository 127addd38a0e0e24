#pragma once
// Where a pane's page goes: the pane's browser view. Every page is written whole (clear, write, close);
// a page is never edited in place.

#include <QString>

namespace lumora {

class PageView {
public:
    virtual ~PageView() = default;
    virtual void clear() = 0;
    virtual void write(const QString& html) = 0;
    virtual void close() = 0;
};

}  // namespace lumora
