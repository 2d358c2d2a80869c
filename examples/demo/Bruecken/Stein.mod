Demo-Modell (Platzhalter): Steinbruecke
