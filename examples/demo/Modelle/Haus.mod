Demo-Modell (Platzhalter): Haus
