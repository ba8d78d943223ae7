// Anchor so the logic library always has at least one object file.
namespace trellane {
int LogicUnitAnchor() {
    return 0;
}
} // namespace trellane
