// Anchors the pq_ui library; the shared widgets and the Prompter join it.
namespace pq::ui {}
