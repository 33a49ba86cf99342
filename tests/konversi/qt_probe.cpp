// Leaves Qt symbols undefined, so that the check for them has something to find.
void qt_assert(const char* assertion, const char* file, int line) noexcept;
namespace QtPrivate {
void probe();
}
void useQtSymbols() {
    qt_assert("probe", __FILE__, __LINE__);
    QtPrivate::probe();
}
