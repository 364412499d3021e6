// placeholder so the library has a source until the first module lands
namespace dataframework {}
