Demo-Modell (Platzhalter): Oberleitung mit Kettenwerk
