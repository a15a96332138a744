#pragma once

class Form1;

// The arrow keys move the player 20 twips each and turn it to face the way it
// moved; the player always ends inside the field.
void Move_Player(Form1& form);
