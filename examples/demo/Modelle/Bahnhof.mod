Demo-Modell (Platzhalter): Bahnhof
