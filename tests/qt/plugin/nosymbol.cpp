// A library without the style entry point.
extern "C" __attribute__((visibility("default"))) int vrx_something_else()
{
    return 42;
}
