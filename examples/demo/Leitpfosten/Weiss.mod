Demo-Modell (Platzhalter): Leitpfosten weiss
