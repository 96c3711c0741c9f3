#include "ui/language.h"

#include "platform/system.h"

// French accented letters are written as octal escapes of their code page
// 437 bytes: \202 e acute, \203 a circumflex, \205 a grave, \207 c cedilla,
// \210 e circumflex, \212 e grave, \214 i circumflex, \223 o circumflex.
// Several French texts end in a blank, which belongs to the text.

namespace {

// The help text: justified paragraphs ("#-", a tab, the paragraph, a blank
// and an empty line), then a centred closing block.
const char kHelpEnglish[] =
    "#-\tDorrimac brings together the best parts of three games: Spindrel, our other "
    "ball-shooting game, pool, and a brick-breaking arcade game. \n\n"
    "#-\tYour task is to remove the balls from the pool-table by shooting at them with the "
    "balls of a definite color and combining together 3 or more balls of the same color. "
    "After a shot that joins no group, new balls grow on the hexagonal net by the rules of the "
    "Game of Life: every empty cell that touches one, two or three balls gets a new one. When a "
    "group goes, every ball left without a neighbor goes with it. \n\n"
    "#-\tWhen all the balls are removed you go to the next level. A color you have cleared "
    "from the table does not come back on that level. The skill you pick sets the number of "
    "colors, from four on EasyRide to seven on Master, and every second level adds one more, "
    "up to eight. \n\n"
    "#-\tThe game is over when a ball reaches the lower edge of the table. A shot that strikes "
    "the lower cushion gives every ball on the table a new random color, colors you have "
    "already removed included. \n\n"
    "#-\tThe cue on the right shows the power of the shot: the higher it is pulled, the "
    "stronger the shot and the further the ball runs between the other balls. With the Pen "
    "controls, click the cue to set the power and click the table to shoot at that point. "
    "With the Keys controls, Left and Right turn the aim, Up and Down turn it slowly, and "
    "holding Space pulls the cue: release it to shoot. Escape and the buttons beside the table "
    "open the menu and this help. In Options you switch the sound and the music, set the "
    "volume, choose Keys or Pen, let the balls sway on springs with Physics, and keep your "
    "game for the next start with Autosave. Each removed ball scores 1 point on level 1, 2 "
    "points on level 2, and so on. \n\n"
    "#-\tA few hints: leave no \"islets\" of balls near the lower edge, since after two or "
    "three missed shots they grow; play off the cushions; clear one color early; and keep a "
    "winning group within reach for every color. \n\n"
    "#~#c(00FF0000)Good Luck!\n"
    "\n"
    "#c(00FF0000)Help desk#cd\n"
    "support@dorrimac.example\n"
    "\n"
    "Dorrimac TM. Made by the Dorrimac team.\n";

const char kHelpFrench[] =
    "#-\tDorrimac r\202unit le meilleur de trois jeux: Spindrel, notre autre jeu de tir de "
    "boules, le billard et un jeu d'arcade de casse-briques. \n\n"
    "#-\tVotre t\203che est d'enlever les boules de la table de billard en tirant dessus avec "
    "des boules d'une couleur donn\202e et en r\202unissant 3 boules ou plus de la m\210me "
    "couleur. Apr\212s un tir sans succ\212s, de nouvelles boules poussent sur le r\202seau "
    "hexagonal selon les r\212gles du Jeu de la Vie: chaque case vide qui touche une, deux ou "
    "trois boules en re\207oit une nouvelle. Quand un groupe dispara\214t, toutes les boules "
    "rest\202es sans voisine partent avec lui. \n\n"
    "#-\tQuand toutes les boules sont enlev\202es, vous passez au niveau suivant. Une couleur "
    "que vous avez fait dispara\214tre de la table ne revient plus sur ce niveau. Le niveau de "
    "jeu choisi fixe le nombre de couleurs, de quatre en TourFacile \205 sept en Ma\214tre, et "
    "un niveau sur deux en ajoute une, jusqu'\205 huit. \n\n"
    "#-\tLe jeu est fini quand une boule touche le bord inf\202rieur de la table. Un tir qui "
    "frappe la bande inf\202rieure donne \205 toutes les boules une nouvelle couleur au hasard, "
    "m\210me une couleur d\202j\205 enlev\202e. La queue \205 droite indique la force du tir: "
    "plus elle est tir\202e vers le haut, plus le tir est fort et plus la boule va loin entre "
    "les autres. Avec le Stylo, cliquez sur la queue pour choisir la force et sur la table pour "
    "tirer vers ce point. Avec les Touches, Gauche et Droite tournent la vis\202e, Haut et Bas "
    "la tournent lentement, et la barre d'espace tenue tire la queue: rel\203chez-la pour "
    "tirer. Echap et les boutons \205 c\223t\202 de la table ouvrent le menu et cette aide. "
    "Dans Options, vous r\202glez le bruit, la musique et le volume, vous choisissez Touches "
    "ou Stylo, Physique fait osciller les boules sur des ressorts, et Autosauver garde votre "
    "partie pour la prochaine fois. Chaque boule enlev\202e rapporte 1 point au niveau 1, 2 "
    "points au niveau 2, et ainsi de suite. \n\n"
    "#-\tQuelques conseils: ne laissez pas d'\214lots de boules pr\212s du bord "
    "inf\202rieur, car apr\212s deux ou trois tirs manqu\202s ils grandissent; jouez avec les "
    "bandes; enlevez t\223t une couleur; et gardez pour chaque couleur un groupe gagnant \205 "
    "port\202e de main. \n\n"
    "#~#c(00FF0000)Bonne Chance!#cd\n"
    "\n"
    "#c(00FF0000)Service d'aide#cd\n"
    "support@dorrimac.example\n"
    "\n"
    "Dorrimac TM. Cr\202\202 par l'\202quipe Dorrimac.\n";

// The about box: name and version above the maker's picture, then the
// systems below it. One line per row, each ended by a line feed.
const char kAboutUpperEnglish[] = "#~Dorrimac\n#c(00ff0000)v 1.2#cd\n\nDeveloped by\n";
const char kAboutUpperFrench[] = "#~Dorrimac\n#c(00ff0000)v 1.2#cd\n\nD\202velopp\202 par \n";
const char kAboutLowerEnglish[] =
    "\n#~Games for\nWindows, MacOS,\nPocketPC, Symbian,\nPalmOS & Linux\n";
const char kAboutLowerFrench[] =
    "\n#~Games for\nWindows, MacOS,\nPocketPC, Symbian,\nPalmOS et Linux\n";

// The contest text; its arguments are the skill name, the score and the
// contest code.
const char kContestEnglish[] =
    "#~Your best result for\n%s\n#c(00ff0000)%ld#cd\n\n"
    "#-\tTo take part in the online contest, open http://www.dorrimac.example/contest in your "
    "browser, fill in the form and enter the code below. \n\n"
    "#~#c(00ff0000)%s#cd\n";
const char kContestFrench[] =
    "#~Votre meilleur r\202sultat pour\n%s\n#c(00ff0000)%ld#cd\n\n"
    "#-\tPour participer au concours en ligne, ouvrez http://www.dorrimac.example/contest dans "
    "votre navigateur, remplissez le formulaire et entrez le code ci-dessous. \n\n"
    "#~#c(00ff0000)%s#cd\n";

// Texts by id, 0..73; id 0 has none.
const char* const kEnglish[kLastTextId + 1] = {
    nullptr,          "New game",        "Continue",      "Demo",
    "Options",        "Help",            "Top 10",        "Save",
    "Load",           "Exit",            "Empty",         "Anonymous",
    "Publish",        "Clear",           "EasyRide",      "Novice",
    "Expert",         "Master",          "Sound",         "Music",
    "Low",            "Medium",          "High",          "Volume",
    "Ok",             "Cancel",          "Level",         "Autosave",
    "Confirm",        "Pick game",       "Start new game?", "Are you sure?",
    "Game mode",      "Quit the game?",  "Skins",         "Controls",
    "Keys",           "Pen",             "About",         "Next",
    "Prev",           "Best result",     "Enter your name:", "Name",
    "Keyboard",       "Score",           "Skill",         "Game over",
    "Yes",            "No",              "Close",         "Scoring",
    "Classic",        "Sniper",          "Arcade",        "Strategy",
    "Physics",        "3DEffects",       "BGColor",       "Default",
    "Colour",         "CAPS",            "SHIFT",         "BSP",
    "CLR",            "DEL",             "Language",      "English",
    "French",         kHelpEnglish,      kAboutUpperEnglish, kAboutLowerEnglish,
    kContestEnglish,  "Back",
};

const char* const kFrench[kLastTextId + 1] = {
    nullptr,          "Nouveau jeu",     "Continuer",     "D\202mo",
    "Options",        "Aide",            "Top 10",        "Sauver",
    "Charger",        "Sortie",          "Vide",          "Anonyme ",
    "Publier",        "D\202gager",      "TourFacile ",   "Novice",
    "Expert",         "Ma\214tre ",      "Bruit",         "Music",
    "Bas",            "Moyen",           "Haut",          "Volume",
    "Ok",             "Annuler ",        "Niveau ",       "Autosauver",
    "Confirmer ",     "Choisi le jeu",   "Commencer le nouveau jeu?", "Etes-vous sur?",
    "Jeu mode",       "Quitter le jeu?", "Skins",         "Controls",
    "Touches",        "Stylo",           "Au sujet",      "Suivant",
    "Pr\202c\202d.",  "Le meilleur r\202sultat", "Entrez votre nom:", "Nom",
    "Clavier",        "Score",           "Habilet\202",   "Fin du jeu",
    "Oui",            "Non",             "Fermer",        "Scoring",
    "Classique",      "Tireur",          "Arcade",        "Strat\202gie",
    "Physique",       "3D Effets",       "APCouleur",     "D\202faut",
    "Couleur",        "CAPS",            "SHIFT",         "BSP",
    "CLR",            "DEL",             "Langue ",       "Anglais ",
    "Fran\207ais",    kHelpFrench,       kAboutUpperFrench, kAboutLowerFrench,
    kContestFrench,   "Retour",
};

}  // namespace

GLanguage* GLanguage::Create() {
  GLanguage* table = new GLanguage();
  CheckAlloc(table);
  return table;
}

GLanguage::GLanguage() {
  Clear();
  SetLanguage(kLanguageEnglish);
}

void GLanguage::Clear() {
  for (const char*& slot : slots_) slot = nullptr;
}

void GLanguage::SetLanguage(i16 language) {
  Clear();
  if (language == kLanguageEnglish) Load(kEnglish);
  if (language == kLanguageFrench) Load(kFrench);
}

void GLanguage::Load(const char* const* texts) {
  for (int id = 1; id <= kLastTextId; ++id) slots_[id] = texts[id];
}

const char* GLanguage::GetString(i16 id) const {
  if (id < 0 || id >= kTextSlots || !slots_[id]) return "";
  return slots_[id];
}
