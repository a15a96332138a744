// The game in a browser page. The objects live on after main returns: from
// then on the page's events drive the game.
#include "app/Form1.h"
#include "platform/web/WebFrontEnd.h"
#include "scene/Form1Description.h"

int main() {
  static platform::web::WebFrontEnd frontEnd(scene::kProjectTitle);
  static Form1 form;
  frontEnd.Show(form);
  return 0;
}
