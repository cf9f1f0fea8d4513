// A stand-in look-and-feel library: a proxy of the Fusion style named "xp".
#include <QProxyStyle>
#include <QStyleFactory>

namespace {
class TestStyle : public QProxyStyle
{
public:
    TestStyle()
        : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
    {
        setObjectName(QStringLiteral("xp"));
    }
};
}

extern "C" __attribute__((visibility("default"))) QStyle* vrx_style_instantiate()
{
    return new TestStyle;
}
